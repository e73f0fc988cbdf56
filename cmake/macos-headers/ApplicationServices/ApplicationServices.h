// Cross build on Linux: the part of macOS's ApplicationServices umbrella that the
// desktop code uses.
#ifndef FENNICK_LANE_APPLICATIONSERVICES_H
#define FENNICK_LANE_APPLICATIONSERVICES_H

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>

#endif
