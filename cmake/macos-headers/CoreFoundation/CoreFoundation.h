// The Core Foundation declarations the desktop code uses, as macOS's SDK
// declares them (CFBase.h, CFData.h, CFAvailability.h's CF_ENUM).
// Declarations for the cross build on Linux (the frameworks are linked
// through the stubs of cmake/macos-stubs).
#ifndef FENNICK_LANE_COREFOUNDATION_H
#define FENNICK_LANE_COREFOUNDATION_H

#include <MacTypes.h>
#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
#define CF_EXTERN_C_BEGIN extern "C" {
#define CF_EXTERN_C_END }
#else
#define CF_EXTERN_C_BEGIN
#define CF_EXTERN_C_END
#endif

// An enumeration with a fixed underlying type, named as a type too.
#define CF_ENUM(_type, _name) enum _name : _type _name; enum _name : _type

CF_EXTERN_C_BEGIN

typedef const void* CFTypeRef;
typedef const struct __CFString* CFStringRef;
typedef const struct __CFData* CFDataRef;

void CFRelease(CFTypeRef cf);
const UInt8* CFDataGetBytePtr(CFDataRef theData);

CF_EXTERN_C_END

#endif
