// Keystroke plan, version-marker check and the Linux clipboard stand-in of
// the Windows desktop functions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "DesktopWin.h"
#include "TestSupport.h"

namespace {

namespace dw = fennick::desktopwin;

// Inputs as "10+ 48+ 48- 10-" (hex virtual-key code, + press, - release).
std::string show(const std::vector<dw::KeyInput>& inputs) {
  std::string out;
  char buf[16];
  for (const dw::KeyInput& k : inputs) {
    std::snprintf(buf, sizeof buf, "%s%X%c", out.empty() ? "" : " ", k.vk, k.keyUp ? '-' : '+');
    out += buf;
  }
  return out;
}

TEST(WinKeystrokes, CapitalsUnderShiftOthersUpperCased) {
  EXPECT_EQ(show(dw::planKeystrokes("Hello")),
            "10+ 48+ 48- 10- 45+ 45- 4C+ 4C- 4C+ 4C- 4F+ 4F- D+ D-");
  // Digits and space on their own keys; punctuation under its own code,
  // never shifted: '.' is 0x2E, '!' 0x21, '{' stays 0x7B.
  EXPECT_EQ(show(dw::planKeystrokes("1 .!{")), "31+ 31- 20+ 20- 2E+ 2E- 21+ 21- 7B+ 7B- D+ D-");
}

TEST(WinKeystrokes, EmptyNullAndHighBytes) {
  EXPECT_EQ(show(dw::planKeystrokes("")), "D+ D-");
  EXPECT_TRUE(dw::planKeystrokes(nullptr).empty());
  // Bytes above 127 are skipped: no 0xFFxx codes reach SendInput.
  EXPECT_EQ(show(dw::planKeystrokes("a\xc3\xa9\xff" "b")), "41+ 41- 42+ 42- D+ D-");
  dw::typeText(nullptr);  // nothing to send, no fault
  dw::typeText("x");
}

class VersionMarkers : public ::testing::Test {
 protected:
  static float check(const std::string& content) {
    return dw::hasVersionMarkers(reinterpret_cast<const unsigned char*>(content.data()),
                                 content.size())
               ? -1.0f
               : 0.0f;
  }
  static std::string at(size_t offset, const std::string& what, size_t total = 100) {
    std::string s(total, '.');
    s.replace(offset, what.size(), what);
    return s.substr(0, std::max(total, offset + what.size()));
  }
};

TEST_F(VersionMarkers, BothMarkersNeeded) {
  EXPECT_EQ(check("Plaxio 2009 4.0\n"), -1.0f);
  EXPECT_EQ(check("Plaxio 2009 BETA\n"), -1.0f);
  EXPECT_EQ(check("BETA 2009"), -1.0f);  // order does not matter
  EXPECT_EQ(check("Plaxio 2009 beta\n"), 0.0f);  // case-sensitive
  EXPECT_EQ(check("Plaxio 2009 Beta 3.0\n"), 0.0f);
  EXPECT_EQ(check("Plaxio 4.0 2008\n"), 0.0f);
  EXPECT_EQ(check("2009"), 0.0f);
  EXPECT_EQ(check(""), 0.0f);
}

TEST_F(VersionMarkers, OnlyOffsetsUpTo96Count) {
  std::string year = "2009" + std::string(50, ' ');
  EXPECT_EQ(check(year + at(96 - year.size(), "4")), -1.0f);
  EXPECT_EQ(check(year + at(97 - year.size(), "4")), 0.0f);
  EXPECT_EQ(check(year + at(99 - year.size(), "4")), 0.0f);
  EXPECT_EQ(check(year + at(96 - year.size(), "BETA")), -1.0f);
  EXPECT_EQ(check(year + at(97 - year.size(), "BETA")), 0.0f);
  EXPECT_EQ(check("4" + at(95, "2009")), -1.0f);
  EXPECT_EQ(check("4" + at(96, "2009")), 0.0f);  // "2009" at offset 97
  // Markers past the first 100 bytes are not read.
  EXPECT_EQ(check("4" + std::string(200, ' ') + "2009"), 0.0f);
  // A short file: a marker cut by the end does not match.
  EXPECT_EQ(check("4 200"), 0.0f);
  EXPECT_EQ(check("4 2009"), -1.0f);
  // Bytes are read as stored: a NUL does not end the text.
  EXPECT_EQ(check(std::string("4\0\r\n2009", 8)), -1.0f);
}

TEST(VersionMarkerFile, ReadsTheHeadOfTheFile) {
  const std::string dir = testsupport::makeTempDir("ver");
  const std::string marked = dir + "/marked.txt", late = dir + "/late.txt";
  ASSERT_TRUE(testsupport::writeText(marked, "Plaxio 2009 BETA\n"));
  ASSERT_TRUE(testsupport::writeText(late, std::string(100, ' ') + "2009 BETA"));
  bool found = false;
  EXPECT_EQ(dw::checkVersionMarkers(marked.c_str(), found), fennick::Status::Ok);
  EXPECT_TRUE(found);
  EXPECT_EQ(dw::checkVersionMarkers(late.c_str(), found), fennick::Status::Ok);
  EXPECT_FALSE(found);
  found = true;
  EXPECT_EQ(dw::checkVersionMarkers((dir + "/missing.txt").c_str(), found),
            fennick::Status::OpenFailed);
  EXPECT_FALSE(found);
  EXPECT_EQ(dw::checkVersionMarkers(dir.c_str(), found), fennick::Status::OpenFailed);  // a folder
  EXPECT_EQ(dw::checkVersionMarkers(nullptr, found), fennick::Status::NullArgument);
}

TEST(WinStandIns, ClipboardAndRunApp) {
  bool pasted = true;
  EXPECT_EQ(dw::copyToClipboard("first", pasted), fennick::Status::Ok);
  EXPECT_FALSE(pasted);  // no "Plaxio" window here
  EXPECT_EQ(dw::standInClipboardText(), "first");
  EXPECT_EQ(dw::copyToClipboard("", pasted), fennick::Status::Ok);
  EXPECT_EQ(dw::standInClipboardText(), "");
  EXPECT_EQ(dw::copyToClipboard("kept", pasted), fennick::Status::Ok);
  EXPECT_EQ(dw::copyToClipboard(nullptr, pasted), fennick::Status::NullArgument);
  EXPECT_EQ(dw::standInClipboardText(), "kept");
  EXPECT_EQ(dw::runApp("app"), fennick::Status::Ok);
  EXPECT_EQ(dw::runApp(""), fennick::Status::Ok);
  EXPECT_EQ(dw::runApp(nullptr), fennick::Status::NullArgument);
}

}  // namespace
