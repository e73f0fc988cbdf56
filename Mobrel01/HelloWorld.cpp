#include <cstdio>

#include "FennickApi.h"

// Template sample of the edition.
class FENNICK_API Mobrel01 {
 public:
  void HelloWorld(const char* text);
};

void Mobrel01::HelloWorld(const char* text) {
  if (text) std::fputs(text, stdout);
  std::fputc('\n', stdout);
}
