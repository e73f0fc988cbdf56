// macOS services of the desktop functions: the keyboard layout (Text Input
// Sources, UCKeyTranslate), Quartz key events, the pasteboard, the open
// dialog, the file manager. Decisions are made in AddCocoa.cpp; this file
// only talks to the system. Built without ARC (manual retain/release).
#import <AppKit/AppKit.h>
#import <Carbon/Carbon.h>
#import <Foundation/Foundation.h>
#include <ApplicationServices/ApplicationServices.h>

#include <utility>

#include "AddCocoa.h"

namespace {

// A UTF-8 copy of an NSString into a new[] buffer of its exact UTF-8 length
// plus 1; null for nil or a failed conversion.
char* handOutString(NSString* text) {
  if (!text) return nullptr;
  NSUInteger length = [text lengthOfBytesUsingEncoding:NSUTF8StringEncoding];
  return fennick::cocoa::handOutText(length, [&](char* buffer, size_t size) -> bool {
    return [text getCString:buffer maxLength:size encoding:NSUTF8StringEncoding];
  });
}

// One UCKeyTranslate of a key press with no modifiers.
fennick::cocoa::LayoutTranslation translateWith(const UCKeyboardLayout* layout, uint16_t keyCode,
                                                uint32_t deadKeyState) {
  fennick::cocoa::LayoutTranslation t;
  UInt32 state = deadKeyState;
  UniChar chars[255];
  UniCharCount length = 0;
  OSStatus status = UCKeyTranslate(layout, keyCode, kUCKeyActionDown, 0, LMGetKbdType(),
                                   0, &state, 255, &length, chars);
  t.status = static_cast<int32_t>(status);
  t.deadKeyState = state;
  if (status == noErr) t.text.assign(reinterpret_cast<const char16_t*>(chars), length);
  return t;
}

}  // namespace

namespace fennick {
namespace cocoa {

NSString* keyCodeNSString(uint16_t keyCode) {
  TISInputSourceRef source = TISCopyCurrentKeyboardInputSource();
  if (!source) return nil;
  CFDataRef data = static_cast<CFDataRef>(
      TISGetInputSourceProperty(source, kTISPropertyUnicodeKeyLayoutData));
  if (!data) {
    CFRelease(source);
    return nil;
  }
  const UCKeyboardLayout* layout =
      reinterpret_cast<const UCKeyboardLayout*>(CFDataGetBytePtr(data));
  std::optional<std::u16string> text = fennick::cocoa::layoutKeyText(
      keyCode, [layout](uint16_t k, uint32_t dead) { return translateWith(layout, k, dead); });
  CFRelease(source);  // the layout data belongs to the source
  if (!text) return nil;
  NSString* s = [NSString stringWithCharacters:reinterpret_cast<const unichar*>(text->data())
                                        length:text->size()];
  return [s lowercaseString];
}

std::optional<std::string> currentLayoutKeyText(uint16_t keyCode) {
  @autoreleasepool {
    NSString* text = keyCodeNSString(keyCode);
    if (!text) return std::nullopt;
    const char* utf8 = [text UTF8String];
    if (!utf8) return std::nullopt;
    return std::string(utf8);
  }
}

void postKeyEvents(const std::vector<KeyEvent>& events) {
  for (const KeyEvent& e : events) {
    CGEventRef event = CGEventCreateKeyboardEvent(nullptr, e.keyCode, e.down);
    if (!event) continue;
    CGEventPost(kCGHIDEventTap, event);
    CFRelease(event);
  }
}

std::optional<std::string> resolveSymlinks(const std::string& path) {
  @autoreleasepool {
    NSString* p = [NSString stringWithUTF8String:path.c_str()];
    if (!p) return std::nullopt;
    const char* utf8 = [[p stringByResolvingSymlinksInPath] UTF8String];
    if (!utf8) return std::nullopt;
    return std::string(utf8);
  }
}

char* pasteboardText() {
  @autoreleasepool {
    NSString* text = [[NSPasteboard generalPasteboard] stringForType:NSPasteboardTypeString];
    return handOutString(text);
  }
}

bool runOpenDialog(const char* title, const char* types, std::vector<std::string>& chosen) {
  if (!title || !types) return false;
  @autoreleasepool {
    NSString* titleText = [NSString stringWithUTF8String:title];
    NSString* typesText = [NSString stringWithUTF8String:types];
    if (!titleText || !typesText) return false;
    NSMutableArray* allowed = [NSMutableArray array];
    for (const std::string& type : fennick::cocoa::splitFileTypes(types)) {
      NSString* t = [NSString stringWithUTF8String:type.c_str()];
      if (t) [allowed addObject:t];
    }
    NSOpenPanel* panel = [[NSOpenPanel alloc] init];
    // Deprecated since macOS 12 for allowedContentTypes, which needs macOS 11
    // and UTType: the 10.13 deployment target has only this call.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
    [panel setAllowedFileTypes:allowed];
#pragma clang diagnostic pop
    [panel setTitle:titleText];
    [panel setCanChooseDirectories:NO];
    [panel setCanChooseFiles:YES];
    [panel setAllowsMultipleSelection:YES];
    bool confirmed = false;
    if ([panel runModal] == NSModalResponseOK) {
      try {
        std::vector<std::string> paths;
        NSArray* urls = [panel URLs];
        for (NSUInteger i = 0; i < [urls count]; ++i) {
          const char* utf8 = [[[urls objectAtIndex:i] path] UTF8String];
          paths.push_back(utf8 ? std::string(utf8) : std::string());
        }
        chosen = std::move(paths);
        confirmed = true;
      } catch (...) {
        // out of memory: the previous list stays
      }
    }
    [panel release];
    return confirmed;
  }
}

bool makeFolder(const char* path) {
  if (!path) return false;
  @autoreleasepool {
    NSString* folder = [NSString stringWithCString:path encoding:NSUTF8StringEncoding];
    if (!folder) return false;
    return [[NSFileManager defaultManager] createDirectoryAtPath:folder
                                     withIntermediateDirectories:NO
                                                      attributes:nil
                                                           error:nil];
  }
}

char* sharedFolder() {
  @autoreleasepool {
    NSArray* folders =
        NSSearchPathForDirectoriesInDomains(NSUserDirectory, NSLocalDomainMask, YES);
    return handOutString([folders lastObject]);
  }
}

}  // namespace cocoa
}  // namespace fennick
