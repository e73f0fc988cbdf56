// GNUstep's AppKit, with the open dialog's file-type filter declared as
// macOS 12's SDK declares it: deprecated (a warning wherever the deployment
// target is 12 or later). GNUstep's own declaration is renamed away, as the
// compiler would find it ahead of a category's. Cross build on Linux.
#define setAllowedFileTypes fennickLaneGNUstepSetAllowedFileTypes
#include_next <AppKit/AppKit.h>
#undef setAllowedFileTypes

@interface NSSavePanel (FennickLaneMacOS12)
- (void)setAllowedFileTypes:(NSArray*)types
    __attribute__((deprecated("Use -allowedContentTypes instead")));
@end
