// The edition's template sample.
#include <cstdio>

#include "FennickDLL.h"

void Mobrel01::HelloWorld(const char* text) {
  if (text) std::fputs(text, stdout);
  std::fputc('\n', stdout);
}
