// keyCodeToString of the Linux build: the stand-in layout's text as UTF-8.
#include "AddCocoa.h"
#include "FennickDLL.h"

std::string keyCodeToString(unsigned short keyCode) {
  return fennick::cocoa::currentLayoutKeyText(keyCode).value_or(std::string());
}
