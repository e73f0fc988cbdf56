// Included ahead of AddCocoa_mac.mm in the cross build on Linux, where
// GNUstep's Foundation and AppKit headers stand in for Apple's over Apple's
// own objc/ headers (the code is compiled for Apple's runtime). Where
// GNUstep's declarations differ from Apple's in a way that changes the
// calls made, they are made Apple's here; the assertions hold the values
// and sizes the calls pass to what Apple's SDK has.
#ifndef FENNICK_CROSS_PRELUDE_H
#define FENNICK_CROSS_PRELUDE_H

#include <objc/objc.h>
#include <stdint.h>

// Apple's NSStringEncoding is an NSUInteger; GNUstep's a 32-bit enum, which
// a 64-bit parameter would receive with undefined upper bits. The enum gets
// NSUInteger as its underlying type.
#define _NSStringEncoding _NSStringEncoding : NSUInteger
#import <Foundation/Foundation.h>
#undef _NSStringEncoding
#import <AppKit/AppKit.h>

#ifdef __cplusplus
static_assert(sizeof(NSStringEncoding) == 8 && NSUTF8StringEncoding == 4,
              "NSStringEncoding as Apple's");
static_assert(sizeof(NSUInteger) == 8 && sizeof(NSInteger) == 8, "LP64 NSUInteger");
static_assert(sizeof(NSSearchPathDirectory) == 8 && NSUserDirectory == 7,
              "NSSearchPathDirectory as Apple's");
static_assert(sizeof(NSSearchPathDomainMask) == 8 && NSLocalDomainMask == 2,
              "NSSearchPathDomainMask as Apple's");
static_assert(NSModalResponseOK == 1, "NSModalResponseOK as Apple's");
static_assert(sizeof(unichar) == 2, "unichar as Apple's");
#if defined(__arm64__)
static_assert(__is_same(BOOL, bool), "Apple's BOOL on arm64");
#else
static_assert(__is_same(BOOL, signed char), "Apple's BOOL on x86_64");
#endif
#endif

#endif
