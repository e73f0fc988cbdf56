// The scalar types of macOS's MacTypes.h that the desktop code meets, as the
// 64-bit SDK declares them. Test lane only: declarations, nothing linked.
#ifndef FENNICK_LANE_MACTYPES_H
#define FENNICK_LANE_MACTYPES_H

typedef unsigned char UInt8;
typedef signed char SInt8;
typedef unsigned short UInt16;
typedef signed short SInt16;
typedef unsigned int UInt32;
typedef signed int SInt32;
typedef unsigned char Boolean;
typedef SInt32 OSStatus;
typedef UInt32 OptionBits;
typedef unsigned long ItemCount;
typedef UInt16 UniChar;
typedef unsigned long UniCharCount;

enum { noErr = 0 };

#endif
