// Linux stand-ins for the macOS desktop services. The keyboard layout is a
// built-in US ANSI layout under the macOS virtual key codes; posted key
// events are kept in a record and go nowhere else; the pasteboard holds no
// text and the open dialog behaves as cancelled; folders are created with
// mkdir; the users folder is /home.
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/types.h>

#include "AddCocoa.h"

namespace fennick {
namespace cocoa {

namespace {

// Unshifted text of the US ANSI keys (macOS virtual key codes); 0: no key.
struct UsKey {
  uint16_t code;
  char16_t text;
};
const UsKey kUsLayout[] = {
    {0, u'a'},   {1, u's'},   {2, u'd'},   {3, u'f'},   {4, u'h'},   {5, u'g'},
    {6, u'z'},   {7, u'x'},   {8, u'c'},   {9, u'v'},   {10, u'\u00a7'}, {11, u'b'},
    {12, u'q'},  {13, u'w'},  {14, u'e'},  {15, u'r'},  {16, u'y'},  {17, u't'},
    {18, u'1'},  {19, u'2'},  {20, u'3'},  {21, u'4'},  {22, u'6'},  {23, u'5'},
    {24, u'='},  {25, u'9'},  {26, u'7'},  {27, u'-'},  {28, u'8'},  {29, u'0'},
    {30, u']'},  {31, u'o'},  {32, u'u'},  {33, u'['},  {34, u'i'},  {35, u'p'},
    {36, u'\r'}, {37, u'l'},  {38, u'j'},  {39, u'\''}, {40, u'k'},  {41, u';'},
    {42, u'\\'}, {43, u','},  {44, u'/'},  {45, u'n'},  {46, u'm'},  {47, u'.'},
    {48, u'\t'}, {49, u' '},  {50, u'`'},  {51, u'\b'}, {53, u'\x1b'},
    {65, u'.'},  {67, u'*'},  {69, u'+'},  {71, u'\x1b'}, {75, u'/'}, {76, u'\x03'},
    {78, u'-'},  {81, u'='},  {82, u'0'},  {83, u'1'},  {84, u'2'},  {85, u'3'},
    {86, u'4'},  {87, u'5'},  {88, u'6'},  {89, u'7'},  {91, u'8'},  {92, u'9'},
    {117, u'\x7f'},
};

std::vector<KeyEvent>& posted() {
  static std::vector<KeyEvent> events;
  return events;
}
int g_layoutQueries = 0;

LayoutTranslation translateUs(uint16_t keyCode, uint32_t) {
  ++g_layoutQueries;
  LayoutTranslation t;
  for (const UsKey& key : kUsLayout) {
    if (key.code == keyCode) t.text = std::u16string(1, key.text);
  }
  return t;
}

}  // namespace

std::optional<std::string> currentLayoutKeyText(uint16_t keyCode) {
  std::optional<std::u16string> text = layoutKeyText(keyCode, translateUs);
  if (!text) return std::nullopt;
  return lowerUtf8(*text);
}

void postKeyEvents(const std::vector<KeyEvent>& events) {
  posted().insert(posted().end(), events.begin(), events.end());
}

std::optional<std::string> resolveSymlinks(const std::string& path) {
  // Like the macOS call: the resolved path when it exists, else unchanged.
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved)) return std::string(resolved);
  return path;
}

const std::vector<KeyEvent>& standInPostedEvents() { return posted(); }
int standInLayoutQueries() { return g_layoutQueries; }

char* pasteboardText() { return nullptr; }

bool runOpenDialog(const char*, const char*, std::vector<std::string>&) { return false; }

bool makeFolder(const char* path) {
  if (!path) return false;
  return mkdir(path, 0777) == 0;
}

char* sharedFolder() {
  struct stat info;
  if (stat("/home", &info) != 0 || !S_ISDIR(info.st_mode)) return nullptr;
  return handOutCopy("/home");
}

}  // namespace cocoa
}  // namespace fennick
