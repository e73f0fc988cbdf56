// The Carbon calls the desktop code uses, as macOS's SDK declares them: Text
// Input Sources (TextInputSources.h), UCKeyTranslate and its layout record
// (UnicodeUtilities.h), LMGetKbdType (Events.h).
// Declarations for the cross build on Linux (the frameworks are linked
// through the stubs of cmake/macos-stubs).
#ifndef FENNICK_LANE_CARBON_H
#define FENNICK_LANE_CARBON_H

#include <ApplicationServices/ApplicationServices.h>
#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

typedef struct __TISInputSource* TISInputSourceRef;

extern const CFStringRef kTISPropertyUnicodeKeyLayoutData;

extern TISInputSourceRef TISCopyCurrentKeyboardInputSource(void);
extern void* TISGetInputSourceProperty(TISInputSourceRef inputSource, CFStringRef propertyKey);

enum {
  kUCKeyActionDown = 0,
  kUCKeyActionUp = 1,
  kUCKeyActionAutoKey = 2,
  kUCKeyActionDisplay = 3
};

struct UCKeyboardTypeHeader {
  UInt32 keyboardTypeFirst;
  UInt32 keyboardTypeLast;
  UInt32 keyModifiersToTableNumOffset;
  UInt32 keyToCharTableIndexOffset;
  UInt32 keyStateRecordsIndexOffset;
  UInt32 keyStateTerminatorsOffset;
  UInt32 keySequenceDataIndexOffset;
};
typedef struct UCKeyboardTypeHeader UCKeyboardTypeHeader;

struct UCKeyboardLayout {
  UInt16 keyLayoutHeaderFormat;
  UInt16 keyLayoutDataVersion;
  UInt32 keyLayoutFeatureInfoOffset;
  ItemCount keyboardTypeCount;
  UCKeyboardTypeHeader keyboardTypeList[1];
};
typedef struct UCKeyboardLayout UCKeyboardLayout;

extern OSStatus UCKeyTranslate(const UCKeyboardLayout* keyLayoutPtr, UInt16 virtualKeyCode,
                               UInt16 keyAction, UInt32 modifierKeyState, UInt32 keyboardType,
                               OptionBits keyTranslateOptions, UInt32* deadKeyState,
                               UniCharCount maxStringLength, UniCharCount* actualStringLength,
                               UniChar unicodeString[]);

extern UInt8 LMGetKbdType(void);

CF_EXTERN_C_END

#endif
