// Key table, typing plan, handed-out texts and the file list of the macOS
// desktop functions, with a US layout of the tests' own (macOS key codes).
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>

#include "AddCocoa.h"
#include "TestSupport.h"

namespace {

using fennick::cocoa::KeyEvent;
using fennick::cocoa::KeyTable;
using fennick::cocoa::LayoutTranslation;

// Unshifted US ANSI keys; the grave key (50) is a dead key here, as on
// international layouts, and key 10 fails to translate.
const std::map<uint16_t, char16_t> kUs = {
    {0, u'a'},   {1, u's'},  {2, u'd'},  {3, u'f'},  {4, u'h'},  {5, u'g'},  {6, u'z'},
    {7, u'x'},   {8, u'c'},  {9, u'v'},  {11, u'b'}, {12, u'q'}, {13, u'w'}, {14, u'e'},
    {15, u'r'},  {16, u'y'}, {17, u't'}, {18, u'1'}, {19, u'2'}, {20, u'3'}, {21, u'4'},
    {22, u'6'},  {23, u'5'}, {24, u'='}, {25, u'9'}, {26, u'7'}, {27, u'-'}, {28, u'8'},
    {29, u'0'},  {30, u']'}, {31, u'o'}, {32, u'u'}, {33, u'['}, {34, u'i'}, {35, u'p'},
    {36, u'\r'}, {37, u'l'}, {38, u'j'}, {39, u'\''}, {40, u'k'}, {41, u';'},
    {42, u'\\'}, {43, u','}, {44, u'/'}, {45, u'n'}, {46, u'm'}, {47, u'.'}, {48, u'\t'},
    {49, u' '},  {65, u'.'}, {67, u'*'}, {69, u'+'}, {82, u'0'}, {83, u'1'}, {84, u'2'},
    {85, u'3'},  {86, u'4'}, {87, u'5'}, {88, u'6'}, {89, u'7'}, {91, u'8'}, {92, u'9'},
    {100, u'Q'},  // a key whose text comes in upper case
};

LayoutTranslation translateUs(uint16_t key, uint32_t dead) {
  LayoutTranslation t;
  if (key == 10) {
    t.status = -25340;  // a failed translation
    t.text = u"x";
    return t;
  }
  if (key == 50 && dead == 0) {
    t.deadKeyState = 7;  // dead key: no text yet
    return t;
  }
  if (key == 49 && dead == 7) {
    t.text = u"`";
    return t;
  }
  auto it = kUs.find(key);
  if (it != kUs.end()) t.text = std::u16string(1, it->second);
  return t;
}

KeyTable usTable() {
  return fennick::cocoa::buildKeyTable([](uint16_t k) -> std::optional<std::string> {
    auto text = fennick::cocoa::layoutKeyText(k, translateUs);
    if (!text) return std::nullopt;
    return fennick::cocoa::lowerUtf8(*text);
  });
}

// Events as "S+" / "S-" for Shift, "36+" style for other keys.
std::string show(const std::vector<KeyEvent>& events) {
  std::string out;
  for (const KeyEvent& e : events) {
    if (!out.empty()) out += ' ';
    out += (e.keyCode == 56 ? std::string("S") : std::to_string(e.keyCode)) + (e.down ? "+" : "-");
  }
  return out;
}

TEST(KeyTable, HighestCodeWinsDeadKeysAndFailures) {
  KeyTable t = usTable();
  EXPECT_EQ(t.at("a"), 0);
  EXPECT_EQ(t.at("1"), 83);  // keypad 1 over the main row's 18
  EXPECT_EQ(t.at("9"), 92);
  EXPECT_EQ(t.at("."), 65);
  EXPECT_EQ(t.at("\r"), 36);
  EXPECT_EQ(t.at("`"), 50);  // dead key: its character comes from Space after it
  EXPECT_EQ(t.at("q"), 100);  // lower-cased, and 100 over 12
  EXPECT_EQ(t.count("x"), 1u);
  EXPECT_EQ(t.at("x"), 7);  // key 10's failed translation is not stored
  EXPECT_EQ(t.count("!"), 0u);
  EXPECT_EQ(t.count(""), 0u);
}

TEST(KeyTable, KeyTextSteps) {
  using fennick::cocoa::layoutKeyText;
  EXPECT_EQ(layoutKeyText(0, translateUs), std::u16string(u"a"));
  EXPECT_FALSE(layoutKeyText(120, translateUs));  // no text, no dead key
  EXPECT_FALSE(layoutKeyText(10, translateUs));   // status not 0
  // Dead key followed by a Space that fails: nothing.
  auto deadThenFail = [](uint16_t key, uint32_t dead) {
    LayoutTranslation t;
    if (dead == 0) t.deadKeyState = 3;
    else t.status = 1;
    (void)key;
    return t;
  };
  EXPECT_FALSE(layoutKeyText(50, deadThenFail));
  // The Space translation is asked with the dead key's state.
  uint32_t seen = 0;
  auto record = [&](uint16_t key, uint32_t dead) {
    LayoutTranslation t;
    if (key == 33 && dead == 0) {
      t.deadKeyState = 0x55;
    } else if (key == 49) {
      seen = dead;
      t.text = u"^";
    }
    return t;
  };
  EXPECT_EQ(layoutKeyText(33, record), std::u16string(u"^"));
  EXPECT_EQ(seen, 0x55u);
  EXPECT_EQ(fennick::cocoa::lowerUtf8(u"\u00c9A\U0001F600"), "\xc3\x89" "a\xf0\x9f\x98\x80");
}

TEST(TypingPlan, ShiftForCapitalsAndShiftedDigits) {
  KeyTable t = usTable();
  // A b 1 ! -> Shift+key(a), key(b), key(1), Shift+key(1), Return.
  EXPECT_EQ(show(fennick::cocoa::planTyping("Ab1!", t)),
            "S+ 0+ 0- S- 11+ 11- 83+ 83- S+ 83+ 83- S- 36+ 36-");
  // The ten shifted digit symbols, each to its digit under Shift.
  std::vector<KeyEvent> digits = fennick::cocoa::planTyping(")!@#$%^&*(", t);
  ASSERT_EQ(digits.size(), 10u * 4 + 2);
  const int keypad[10] = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
  const char* symbols = ")!@#$%^&*(";
  for (int i = 0; i < 10; ++i) {
    int digit = int(std::strchr(")!@#$%^&*(", symbols[i]) - ")!@#$%^&*(");
    EXPECT_EQ(digits[size_t(i) * 4 + 1].keyCode, keypad[digit]) << symbols[i];
    EXPECT_EQ(digits[size_t(i) * 4].keyCode, 56);
  }
}

TEST(TypingPlan, UnknownCharactersBecomeSpace) {
  KeyTable t = usTable();
  // Other shifted symbols and the line feed have no unshifted key: Space.
  EXPECT_EQ(show(fennick::cocoa::planTyping("_+?\n~", t)),
            "49+ 49- 69+ 69- 49+ 49- 49+ 49- 49+ 49- 36+ 36-");
  // "a" keeps its code 0; another character stored under 0 becomes Space.
  KeyTable zero = {{"a", 0}, {"b", 0}, {"c", 8}};
  EXPECT_EQ(show(fennick::cocoa::planTyping("abcd", zero)),
            "0+ 0- 49+ 49- 8+ 8- 49+ 49- 36+ 36-");
  // An empty table: even "a" is typed as code 0, everything else as Space.
  EXPECT_EQ(show(fennick::cocoa::planTyping("aZ", KeyTable())), "0+ 0- S+ 49+ 49- S- 36+ 36-");
}

TEST(TypingPlan, EmptyNullAndHighBytes) {
  KeyTable t = usTable();
  EXPECT_EQ(show(fennick::cocoa::planTyping("", t)), "36+ 36-");
  EXPECT_TRUE(fennick::cocoa::planTyping(nullptr, t).empty());
  // Bytes above 127 are not typed: "e-acute" in UTF-8 leaves only x and y.
  EXPECT_EQ(show(fennick::cocoa::planTyping("x\xc3\xa9y", t)), "7+ 7- 16+ 16- 36+ 36-");
}

TEST(TypeText, PostsThePlanAndBuildsTheTableOnce) {
  using fennick::cocoa::standInLayoutQueries;
  using fennick::cocoa::standInPostedEvents;
  size_t before = standInPostedEvents().size();
  int q0 = standInLayoutQueries();
  char text[] = "Hi!";
  fennick::cocoa::typeText(text);
  int q1 = standInLayoutQueries();
  fennick::cocoa::typeText(text);
  EXPECT_EQ(standInLayoutQueries(), q1);  // never rebuilt
  EXPECT_TRUE(q1 - q0 == 128 || q1 == q0);  // 128 translations on first use
  std::vector<KeyEvent> posted(standInPostedEvents().begin() + long(before),
                               standInPostedEvents().end());
  // Built-in US layout: h=4, i=34, 1 on the keypad=83.
  std::string once = "S+ 4+ 4- S- 34+ 34- S+ 83+ 83- S- 36+ 36-";
  EXPECT_EQ(show(posted), once + " " + once);
  fennick::cocoa::typeText(nullptr);
  EXPECT_EQ(standInPostedEvents().size(), before + posted.size());
  EXPECT_EQ(fennick::cocoa::currentLayoutKeyText(0), "a");
  EXPECT_EQ(fennick::cocoa::currentLayoutKeyText(36), "\r");
  EXPECT_EQ(fennick::cocoa::currentLayoutKeyText(127), std::nullopt);
}

TEST(HandOut, ExactSizeAndNoPartFilledBuffer) {
  size_t asked = 0;
  char* b = fennick::cocoa::handOutText(3, [&](char* buffer, size_t size) {
    asked = size;
    std::memcpy(buffer, "abc", 4);
    return true;
  });
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(asked, 4u);
  EXPECT_STREQ(b, "abc");
  delete[] b;
  EXPECT_EQ(fennick::cocoa::handOutText(5, [](char*, size_t) { return false; }), nullptr);
  EXPECT_EQ(fennick::cocoa::handOutText(SIZE_MAX, [](char*, size_t) { return true; }), nullptr);
  char* e = fennick::cocoa::handOutCopy("");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e[0], '\0');
  delete[] e;
}

TEST(FileDialog, TypesSplitAtEveryComma) {
  using V = std::vector<std::string>;
  EXPECT_EQ(fennick::cocoa::splitFileTypes("obj,vyx"), (V{"obj", "vyx"}));
  EXPECT_EQ(fennick::cocoa::splitFileTypes("obj, vyx"), (V{"obj", " vyx"}));
  EXPECT_EQ(fennick::cocoa::splitFileTypes(""), (V{""}));
  EXPECT_EQ(fennick::cocoa::splitFileTypes(",obj,,"), (V{"", "obj", "", ""}));
}

std::string takeText(char* p) {
  std::string s = p ? p : "<null>";
  delete[] p;
  return s;
}

TEST(FileDialog, FileListHandOut) {
  using fennick::cocoa::resolvedFile;
  std::vector<std::string> files;
  EXPECT_EQ(resolvedFile(files, 0), nullptr);
  std::string dir = testsupport::makeTempDir("files");
  ASSERT_TRUE(testsupport::writeText(dir + "/real.obj", "v 0 0 0\n"));
  ASSERT_EQ(symlink((dir + "/real.obj").c_str(), (dir + "/link.obj").c_str()), 0);
  char resolvedDir[PATH_MAX];
  ASSERT_NE(realpath(dir.c_str(), resolvedDir), nullptr);
  files = {dir + "/link.obj", "/no/such/file.vyx", ""};
  EXPECT_EQ(takeText(resolvedFile(files, 0)), std::string(resolvedDir) + "/real.obj");
  EXPECT_EQ(takeText(resolvedFile(files, 1)), "/no/such/file.vyx");
  EXPECT_EQ(resolvedFile(files, 2), nullptr);  // a path that could not be converted
  EXPECT_EQ(resolvedFile(files, 3), nullptr);
  EXPECT_EQ(resolvedFile(files, -1), nullptr);
  // A dialog that is cancelled (and refused arguments) keeps the list.
  EXPECT_FALSE(fennick::cocoa::runOpenDialog("Open", "obj,vyx", files));
  EXPECT_FALSE(fennick::cocoa::runOpenDialog(nullptr, nullptr, files));
  EXPECT_EQ(files.size(), 3u);
}

TEST(Folders, CreateFolderSharedFolderPasteboard) {
  using namespace fennick::cocoa;
  std::string dir = testsupport::makeTempDir("mk");
  EXPECT_TRUE(makeFolder((dir + "/new").c_str()));
  EXPECT_FALSE(makeFolder((dir + "/new").c_str()));  // exists
  EXPECT_FALSE(makeFolder((dir + "/missing/child").c_str()));
  EXPECT_FALSE(makeFolder(nullptr));
  char* shared = sharedFolder();
  if (access("/home", F_OK) == 0) {
    EXPECT_EQ(takeText(shared), "/home");
  } else {
    EXPECT_EQ(shared, nullptr);
  }
  EXPECT_EQ(pasteboardText(), nullptr);  // the Linux pasteboard holds nothing
}

}  // namespace
