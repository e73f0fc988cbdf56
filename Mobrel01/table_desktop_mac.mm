// keyCodeToString of the macOS build: the current layout's text.
#import <Foundation/Foundation.h>

#include "AddCocoa.h"
#include "FennickDLL.h"

NSString* keyCodeToString(unsigned short keyCode) {
  return fennick::cocoa::keyCodeNSString(keyCode);
}
