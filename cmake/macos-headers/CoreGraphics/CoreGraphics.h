// The Quartz event services the desktop code uses, as macOS's SDK declares
// them (CGEventTypes.h, CGEvent.h, CGRemoteOperation.h).
// Declarations for the cross build on Linux (the frameworks are linked
// through the stubs of cmake/macos-stubs).
#ifndef FENNICK_LANE_COREGRAPHICS_H
#define FENNICK_LANE_COREGRAPHICS_H

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

typedef uint16_t CGKeyCode;
typedef struct __CGEvent* CGEventRef;
typedef struct __CGEventSource* CGEventSourceRef;

typedef CF_ENUM(uint32_t, CGEventTapLocation) {
  kCGHIDEventTap = 0,
  kCGSessionEventTap,
  kCGAnnotatedSessionEventTap
};

CGEventRef _Nullable CGEventCreateKeyboardEvent(CGEventSourceRef _Nullable source,
                                                CGKeyCode virtualKey, bool keyDown);
void CGEventPost(CGEventTapLocation tap, CGEventRef _Nullable event);

CF_EXTERN_C_END

#endif
