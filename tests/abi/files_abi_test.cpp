#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Edition.h"
#include "TestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;
using testsupport::fileExists;
using testsupport::readBytes;
using testsupport::readText;
using testsupport::writeBytes;
using testsupport::writeText;

// A block that shows whether a call wrote into it.
struct Block {
  std::vector<char> bytes = std::vector<char>(4096, '#');
  char* get() { return bytes.data(); }
  std::string text() const { return std::string(bytes.data()); }
  bool untouched() const {
    for (char c : bytes)
      if (c != '#') return false;
    return true;
  }
};

Edition* editions[] = {&dll(), &dll02()};
const char* editionName(const Edition* e) { return e == &dll() ? "FennickDLL" : "FennickDLL02"; }

// Every name GetFile hands out until -3.
std::multiset<std::string> listByExports(Edition& e, const std::string& dir) {
  std::multiset<std::string> names;
  EXPECT_EQ(e.call("OpenFolder", dir.c_str()), 0.0f);
  for (int i = 0; i < 10000; ++i) {
    Block b;
    float r = e.call("GetFile", nullptr, 0, b.get());
    if (r == -3.0f) break;
    EXPECT_EQ(r, 0.0f);
    names.insert(b.text());
  }
  EXPECT_EQ(e.call("CloseFolder"), 0.0f);
  return names;
}

class Listing : public ::testing::Test {
 protected:
  std::string dir, other;
  void SetUp() override {
    dir = testsupport::makeTempDir("list");
    other = testsupport::makeTempDir("list");
    ASSERT_TRUE(writeText(dir + "/a.txt", "a"));
    ASSERT_TRUE(writeText(dir + "/README", "r"));
    ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0700), 0);
    ASSERT_TRUE(writeText(other + "/only.here", "o"));
  }
};

TEST_F(Listing, NoEnumerationAnswersMinusOneAndWritesNothing) {
  for (Edition* e : editions) {
    Block b;
    EXPECT_EQ(e->call("GetFile", nullptr, 0, b.get()), -1.0f) << editionName(e);
    EXPECT_EQ(e->call("CloseFolder"), -1.0f);
    EXPECT_TRUE(b.untouched());
  }
}

TEST_F(Listing, DeliversEveryEntryWithTheDotEntriesThenStaysExhausted) {
  for (Edition* e : editions) {
    EXPECT_EQ(listByExports(*e, dir),
              (std::multiset<std::string>{".", "..", "README", "a.txt", "sub"}))
        << editionName(e);
    EXPECT_EQ(listByExports(*e, dir + "/"), listByExports(*e, dir));
    ASSERT_EQ(e->call("OpenFolder", other.c_str()), 0.0f);
    Block b;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(e->call("GetFile", nullptr, 0, b.get()), 0.0f);
    for (int i = 0; i < 3; ++i) {
      Block after;
      EXPECT_EQ(e->call("GetFile", nullptr, 0, after.get()), -3.0f);
      EXPECT_TRUE(after.untouched());
    }
    EXPECT_EQ(e->call("CloseFolder"), 0.0f);
    EXPECT_EQ(e->call("CloseFolder"), -1.0f);
  }
}

TEST_F(Listing, OpenFolderReplacesOrDropsTheOpenEnumeration) {
  for (Edition* e : editions) {
    // open + OpenFolder succeeds: the new folder is listed from its start.
    ASSERT_EQ(e->call("OpenFolder", dir.c_str()), 0.0f);
    Block first;
    EXPECT_EQ(e->call("GetFile", nullptr, 0, first.get()), 0.0f);
    ASSERT_EQ(e->call("OpenFolder", other.c_str()), 0.0f);
    std::multiset<std::string> names;
    Block b;
    while (e->call("GetFile", nullptr, 0, b.get()) == 0.0f) names.insert(b.text());
    EXPECT_EQ(names, (std::multiset<std::string>{".", "..", "only.here"})) << editionName(e);
    // open + OpenFolder fails: no enumeration afterwards.
    std::string missing = dir + "/missing", file = dir + "/a.txt";
    for (const char* bad : {missing.c_str(), file.c_str(), "", static_cast<const char*>(nullptr)}) {
      ASSERT_EQ(e->call("OpenFolder", dir.c_str()), 0.0f);
      EXPECT_EQ(e->call("OpenFolder", bad), -1.0f) << (bad ? bad : "(null)");
      Block none;
      EXPECT_EQ(e->call("GetFile", nullptr, 0, none.get()), -1.0f);
      EXPECT_TRUE(none.untouched());
      EXPECT_EQ(e->call("CloseFolder"), -1.0f);
    }
  }
}

TEST_F(Listing, NullBlockTakesNoEntry) {
  for (Edition* e : editions) {
    ASSERT_EQ(e->call("OpenFolder", other.c_str()), 0.0f);
    EXPECT_EQ(e->call("GetFile", nullptr, 0, nullptr), -9.0f);
    std::multiset<std::string> names;
    Block b;
    while (e->call("GetFile", nullptr, 0, b.get()) == 0.0f) names.insert(b.text());
    EXPECT_EQ(names.size(), 3u) << editionName(e);
    EXPECT_EQ(e->call("CloseFolder"), 0.0f);
  }
}

TEST_F(Listing, CheckFolderLeavesNoEnumeration) {
  Edition& e = dll02();
  EXPECT_EQ(dll().fn("CheckFolder"), nullptr);
  EXPECT_EQ(e.call("CheckFolder", dir.c_str()), 0.0f);
  Block b;
  EXPECT_EQ(e.call("GetFile", nullptr, 0, b.get()), -1.0f);
  ASSERT_EQ(e.call("OpenFolder", dir.c_str()), 0.0f);
  EXPECT_EQ(e.call("CheckFolder", other.c_str()), 0.0f);
  EXPECT_EQ(e.call("GetFile", nullptr, 0, b.get()), -1.0f);
  ASSERT_EQ(e.call("OpenFolder", dir.c_str()), 0.0f);
  EXPECT_EQ(e.call("CheckFolder", (dir + "/a.txt").c_str()), -1.0f);
  EXPECT_EQ(e.call("CheckFolder", nullptr), -1.0f);
  EXPECT_EQ(e.call("CheckFolder", ""), -1.0f);
  EXPECT_EQ(e.call("CloseFolder"), -1.0f);
  EXPECT_TRUE(b.untouched());
}

TEST(FileServices, DeleteCopyRename) {
  std::string dir = testsupport::makeTempDir("fs");
  for (Edition* e : editions) {
    const std::string src = dir + "/src.bin", dst = dir + "/dst.bin";
    Bytes bytes(8001);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    ASSERT_TRUE(writeBytes(src, bytes));
    std::string dstBlock = dst;
    EXPECT_EQ(e->call("FileCopyTo", src.c_str(), 0, &dstBlock[0]), 0.0f) << editionName(e);
    EXPECT_EQ(readBytes(dst), bytes);
    // A failed copy keeps the destination.
    std::string missing = dir + "/missing";
    EXPECT_EQ(e->call("FileCopyTo", missing.c_str(), 0, &dstBlock[0]), -1.0f);
    EXPECT_EQ(readBytes(dst), bytes);
    std::string srcBlock = src;
    EXPECT_EQ(e->call("FileCopyTo", src.c_str(), 0, &srcBlock[0]), 0.0f);
    EXPECT_EQ(readBytes(src), bytes);
    EXPECT_EQ(e->call("FileCopyTo", nullptr, 0, &dstBlock[0]), -1.0f);
    EXPECT_EQ(e->call("FileCopyTo", src.c_str(), 0, nullptr), -1.0f);
    EXPECT_EQ(e->call("FileDelete", dst.c_str()), 0.0f);
    EXPECT_FALSE(fileExists(dst));
    EXPECT_EQ(e->call("FileDelete", dst.c_str()), -1.0f);
    EXPECT_EQ(e->call("FileDelete", nullptr), -1.0f);
    ASSERT_TRUE(writeBytes(src, bytes));
  }
  EXPECT_EQ(dll02().fn("FileRename"), nullptr);
  const std::string a = dir + "/a.txt", b = dir + "/b.txt";
  ASSERT_TRUE(writeText(a, "moved"));
  std::string same = a, to = b;
  EXPECT_EQ(dll().call("FileRename", a.c_str(), 0, &same[0]), -1.0f);
  EXPECT_EQ(readText(a), "moved");
  EXPECT_EQ(dll().call("FileRename", a.c_str(), 0, nullptr), -1.0f);
  EXPECT_EQ(dll().call("FileRename", nullptr, 0, &to[0]), -1.0f);
  EXPECT_EQ(dll().call("FileRename", a.c_str(), 0, &to[0]), 0.0f);
  EXPECT_EQ(readText(b), "moved");
  EXPECT_FALSE(fileExists(a));
  EXPECT_EQ(dll().call("FileRename", a.c_str(), 0, &to[0]), -1.0f);
}

TEST(FileServices, EmptyFolderKeepsNamesWithoutADot) {
  for (Edition* e : editions) {
    std::string dir = testsupport::makeTempDir("empty");
    for (const char* f : {"/a.txt", "/README", "/b.tar.gz", "/sub.d/x.txt"}) {
      if (std::strcmp(f, "/sub.d/x.txt") == 0) {
        ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0700), 0);
        ASSERT_TRUE(writeText(dir + "/sub/x.txt", "x"));
        continue;
      }
      ASSERT_TRUE(writeText(dir + f, "x"));
    }
    EXPECT_EQ(e->call("EmptyFolder", (dir + "/").c_str()), 0.0f) << editionName(e);
    EXPECT_FALSE(fileExists(dir + "/a.txt"));
    EXPECT_FALSE(fileExists(dir + "/b.tar.gz"));
    EXPECT_TRUE(fileExists(dir + "/README"));
    EXPECT_TRUE(fileExists(dir + "/sub/x.txt"));
    EXPECT_EQ(e->call("EmptyFolder", (dir + "/README").c_str()), -1.0f);
    EXPECT_EQ(e->call("EmptyFolder", nullptr), -1.0f);
    EXPECT_EQ(e->call("EmptyFolder", ""), -1.0f);
    // The walk has a stream of its own: an open listing goes on undisturbed.
    ASSERT_EQ(e->call("OpenFolder", dir.c_str()), 0.0f);
    EXPECT_EQ(e->call("EmptyFolder", dir.c_str()), 0.0f);
    Block b;
    EXPECT_EQ(e->call("GetFile", nullptr, 0, b.get()), 0.0f);
    EXPECT_EQ(e->call("CloseFolder"), 0.0f);
  }
}

TEST(FileServices, DecoratedFolderFunctionsInFennickDLL) {
  const char* names[] = {
      decorated::ClearFolder,
      decorated::IsDirectory,
      "folder",
  };
  for (const char* name : names) {
    EXPECT_NE(dll().symbol(name), nullptr) << name;
    EXPECT_EQ(dll02().symbol(name), nullptr) << name;
  }
  EXPECT_EQ(dll02().symbol("nameSet"), nullptr);
  // `folder` is the open listing: null, then set by OpenFolder.
  auto folder = static_cast<void**>(dll().symbol("folder"));
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(*folder, nullptr);
  ASSERT_EQ(dll().call("OpenFolder", "."), 0.0f);
  EXPECT_NE(*folder, nullptr);
  EXPECT_EQ(dll().call("CloseFolder"), 0.0f);
  EXPECT_EQ(*folder, nullptr);
  using IsDirectoryFn = bool (*)(const std::string&);
  auto isDirectory = reinterpret_cast<IsDirectoryFn>(dll().symbol(names[1]));
  ASSERT_NE(isDirectory, nullptr);
  EXPECT_FALSE(isDirectory("x/a.txt"));
  EXPECT_TRUE(isDirectory("a.b/README"));
}

// ---- run-length compression ------------------------------------------------

// The format by its plain definition: one pair per run, runs cut at 255.
Bytes referenceCompress(const Bytes& in) {
  Bytes out;
  for (size_t i = 0; i < in.size();) {
    size_t j = i;
    while (j < in.size() && in[j] == in[i]) ++j;
    for (size_t left = j - i; left > 0;) {
      size_t n = left > 255 ? 255 : left;
      out.push_back(static_cast<uint8_t>(n));
      out.push_back(in[i]);
      left -= n;
    }
    i = j;
  }
  return out;
}

class Compression : public ::testing::Test {
 protected:
  std::string dir;
  void SetUp() override { dir = testsupport::makeTempDir("rle"); }
  std::string p(const char* name) { return dir + "/" + name; }
  float compress(const std::string& in, const std::string& out) {
    std::string block = out;
    return dll02().call("CompressFile", in.c_str(), 0, &block[0]);
  }
  float decompress(const std::string& in, const std::string& out) {
    std::string block = out;
    return dll02().call("DecompressFile", in.c_str(), 0, &block[0]);
  }
  // Compresses, checks the bytes and the ratio, decompresses, checks the bytes.
  void roundTrip(const Bytes& in, const char* what) {
    ASSERT_TRUE(writeBytes(p("in"), in));
    Bytes expected = referenceCompress(in);
    float ratio = compress(p("in"), p("c"));
    EXPECT_EQ(readBytes(p("c")), expected) << what;
    if (in.empty())
      EXPECT_TRUE(std::isnan(ratio)) << what;
    else
      EXPECT_EQ(ratio, static_cast<float>(expected.size()) / static_cast<float>(in.size()))
          << what;
    EXPECT_EQ(decompress(p("c"), p("back")), 0.0f) << what;
    EXPECT_EQ(readBytes(p("back")), in) << what;
  }
};

TEST_F(Compression, TypicalResultsAndExactBytes) {
  ASSERT_TRUE(writeBytes(p("in"), {'A', 'A', 'A', 'B'}));
  EXPECT_EQ(compress(p("in"), p("c")), 1.0f);
  EXPECT_EQ(readBytes(p("c")), (Bytes{3, 'A', 1, 'B'}));
  ASSERT_TRUE(writeBytes(p("in"), Bytes(100, 'x')));
  EXPECT_EQ(compress(p("in"), p("c")), 2.0f / 100.0f);
  EXPECT_EQ(readBytes(p("c")), (Bytes{100, 'x'}));
  ASSERT_TRUE(writeBytes(p("in"), {0xFF}));
  EXPECT_EQ(compress(p("in"), p("c")), 2.0f);
  EXPECT_EQ(readBytes(p("c")), (Bytes{1, 0xFF}));
  ASSERT_TRUE(writeBytes(p("in"), {'a', 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(compress(p("in"), p("c")), 1.0f);
  EXPECT_EQ(readBytes(p("c")), (Bytes{1, 'a', 3, 0xFF}));
  Bytes noRuns;
  for (int i = 0; i < 1000; ++i) noRuns.push_back(static_cast<uint8_t>(i % 251));
  ASSERT_TRUE(writeBytes(p("in"), noRuns));
  EXPECT_EQ(compress(p("in"), p("c")), 2.0f);
  ASSERT_TRUE(writeBytes(p("in"), {}));
  EXPECT_TRUE(std::isnan(compress(p("in"), p("c"))));
  EXPECT_TRUE(fileExists(p("c")));
  EXPECT_TRUE(readBytes(p("c")).empty());
}

TEST_F(Compression, LongRunsBecomeSeveralPairs) {
  roundTrip(Bytes(255, 7), "255");
  EXPECT_EQ(readBytes(p("c")), (Bytes{255, 7}));
  roundTrip(Bytes(256, 7), "256");
  EXPECT_EQ(readBytes(p("c")), (Bytes{255, 7, 1, 7}));
  roundTrip(Bytes(600, 0), "600");
  EXPECT_EQ(readBytes(p("c")), (Bytes{255, 0, 255, 0, 90, 0}));
  Bytes mixed = {1, 2};
  mixed.insert(mixed.end(), 510, 0x80);
  mixed.push_back(0xFE);
  roundTrip(mixed, "510 in the middle");
  EXPECT_EQ(readBytes(p("c")), (Bytes{1, 1, 1, 2, 255, 0x80, 255, 0x80, 1, 0xFE}));
}

TEST_F(Compression, RoundTripsAcrossBlockBoundaries) {
  // Runs and single bytes of every length mixed, over several megabytes, so
  // runs and pairs straddle the read and write blocks.
  std::mt19937 rng(12345);
  Bytes in;
  while (in.size() < (size_t(5) << 20)) {
    uint32_t kind = rng() % 10;
    if (kind < 5) {
      in.push_back(static_cast<uint8_t>(rng()));
    } else {
      size_t len = kind < 8 ? rng() % 20 : rng() % 100000;
      in.insert(in.end(), len, static_cast<uint8_t>(rng() % 4 + 0x7E));
    }
  }
  roundTrip(in, "mixed");
  // A run that covers a whole read block and more.
  Bytes spanning(size_t(3) << 20, 'q');
  spanning[0] = 'p';
  spanning.back() = 'r';
  roundTrip(spanning, "spanning");
  // Text: mostly single bytes with short runs.
  Bytes text;
  for (int i = 0; text.size() < (size_t(3) << 20) + 77; ++i) {
    std::string line = "v " + std::to_string(i * 0.001) + " 0.5000 " + std::to_string(i % 1000) + "\n";
    text.insert(text.end(), line.begin(), line.end());
  }
  roundTrip(text, "text");
  roundTrip({}, "empty");
  roundTrip({0}, "one zero");
}

TEST_F(Compression, DecoderExpandsPairsOnTheirOwn) {
  ASSERT_TRUE(writeBytes(p("c"), {2, 'a', 0, 'z', 1, 'b', 3}));  // (0,z) and the odd byte yield nothing
  EXPECT_EQ(decompress(p("c"), p("out")), 0.0f);
  EXPECT_EQ(readText(p("out")), "aab");
  ASSERT_TRUE(writeBytes(p("c"), {255, 'x', 255, 'x', 10, 'x'}));
  EXPECT_EQ(decompress(p("c"), p("out")), 0.0f);
  EXPECT_EQ(readText(p("out")), std::string(520, 'x'));
  ASSERT_TRUE(writeBytes(p("c"), {9}));
  EXPECT_EQ(decompress(p("c"), p("out")), 0.0f);
  EXPECT_TRUE(readBytes(p("out")).empty());
}

TEST_F(Compression, FailuresAreReportedAndTouchNothing) {
  ASSERT_TRUE(writeText(p("in"), "aaab"));
  for (const char* name : {"CompressFile", "DecompressFile"}) {
    SCOPED_TRACE(name);
    std::string out = p("out"), in = p("in");
    // Input cannot be opened: -1, no output created.
    std::string missing = p("missing");
    EXPECT_EQ(dll02().call(name, missing.c_str(), 0, &out[0]), -1.0f);
    EXPECT_FALSE(fileExists(p("out")));
    EXPECT_EQ(dll02().call(name, dir.c_str(), 0, &out[0]), -1.0f);  // a folder
    EXPECT_FALSE(fileExists(p("out")));
    // Output cannot be opened or written: -2.
    std::string badOut = p("no/such/out");
    EXPECT_EQ(dll02().call(name, in.c_str(), 0, &badOut[0]), -2.0f);
    if (fileExists("/dev/full")) {
      std::string full = "/dev/full";
      EXPECT_EQ(dll02().call(name, in.c_str(), 0, &full[0]), -2.0f);
    }
    // Output naming the input, also by another spelling or a link: -3.
    std::string again = in, dotted = dir + "/./in";
    unlink(p("link").c_str());
    ASSERT_EQ(symlink(in.c_str(), p("link").c_str()), 0);
    std::string link = p("link");
    EXPECT_EQ(dll02().call(name, in.c_str(), 0, &again[0]), -3.0f);
    EXPECT_EQ(dll02().call(name, in.c_str(), 0, &dotted[0]), -3.0f);
    EXPECT_EQ(dll02().call(name, in.c_str(), 0, &link[0]), -3.0f);
    EXPECT_EQ(readText(p("in")), "aaab");
    // Null text or block: -9.
    EXPECT_EQ(dll02().call(name, nullptr, 0, &out[0]), -9.0f);
    EXPECT_EQ(dll02().call(name, in.c_str(), 0, nullptr), -9.0f);
    EXPECT_FALSE(fileExists(p("out")));
  }
  EXPECT_EQ(dll().fn("CompressFile"), nullptr);
  EXPECT_EQ(dll().fn("DecompressFile"), nullptr);
}

TEST_F(Compression, SizesPast32BitsDoNotWrap) {
  // A sparse file of 2^31 + 300 zero bytes: counted in 64 bits.
  const int64_t size = (int64_t(1) << 31) + 300;
  {
    std::FILE* f = std::fopen(p("huge").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(ftruncate(fileno(f), size), 0);
    std::fclose(f);
  }
  const int64_t pairs = (size + 254) / 255;
  float ratio = compress(p("huge"), p("c"));
  unlink(p("huge").c_str());
  EXPECT_EQ(ratio, static_cast<float>(2 * pairs) / static_cast<float>(size));
  struct stat st;
  ASSERT_EQ(stat(p("c").c_str(), &st), 0);
  EXPECT_EQ(st.st_size, 2 * pairs);
  Bytes c = readBytes(p("c"));
  ASSERT_EQ(c.size(), size_t(2 * pairs));
  EXPECT_EQ(c[c.size() - 2], size % 255);
  EXPECT_EQ(c[0], 255);
}

// ---- name set --------------------------------------------------------------

std::string checkName(const char* name) {
  Block b;
  EXPECT_EQ(dll02().call("CheckName", name, 0, b.get()), 0.0f);
  return b.text();
}

TEST(NameSet, WorkedSequence) {
  EXPECT_EQ(dll02().call("ClearNameSet"), 0.0f);
  EXPECT_EQ(checkName("Box"), "Box");
  EXPECT_EQ(checkName("Box"), "Box_copy1");
  EXPECT_EQ(checkName("Box"), "Box_copy2");
  EXPECT_EQ(checkName("Box_copy1"), "Box_copy3");
  EXPECT_EQ(checkName("Box_copy7"), "Box_copy7");
  EXPECT_EQ(checkName("Box_copy7"), "Box_copy4");
  EXPECT_EQ(dll02().call("ClearNameSet"), 0.0f);
  EXPECT_EQ(checkName("Box_copy1"), "Box_copy1");
  EXPECT_EQ(checkName("Box"), "Box");
  EXPECT_EQ(checkName("Box"), "Box_copy2");  // Box_copy1 is taken
}

TEST(NameSet, EdgeNames) {
  dll02().call("ClearNameSet");
  EXPECT_EQ(checkName(""), "");
  EXPECT_EQ(checkName(""), "_copy1");
  EXPECT_EQ(checkName("Box_copy"), "Box_copy");
  EXPECT_EQ(checkName("Box_copy"), "Box_copy1");
  EXPECT_EQ(checkName("A_copy2_copy3"), "A_copy2_copy3");
  EXPECT_EQ(checkName("A_copy2_copy3"), "A_copy1");
  EXPECT_EQ(checkName("box"), "box");
  EXPECT_EQ(checkName("Box"), "Box");
  EXPECT_EQ(checkName("Box_COPY"), "Box_COPY");
  EXPECT_EQ(checkName("Box_COPY"), "Box_COPY_copy1");
  dll02().call("ClearNameSet");
  for (int k = 0; k <= 10; ++k) checkName("N");
  EXPECT_EQ(checkName("N"), "N_copy11");
  dll02().call("ClearNameSet");
  for (int k = 0; k <= 9; ++k) checkName("M");
  EXPECT_EQ(checkName("M_copy9"), "M_copy10");
}

TEST(NameSet, NullArgumentsTouchNothing) {
  dll02().call("ClearNameSet");
  Block b;
  EXPECT_EQ(dll02().call("CheckName", nullptr, 0, b.get()), -9.0f);
  EXPECT_TRUE(b.untouched());
  EXPECT_EQ(dll02().call("CheckName", "Box", 0, nullptr), -9.0f);
  EXPECT_EQ(checkName("Box"), "Box");  // not added by the refused call
  EXPECT_EQ(dll().fn("CheckName"), nullptr);
  EXPECT_EQ(dll().fn("ClearNameSet"), nullptr);
}

TEST(NameSet, AgreesWithAPlainSetOnARandomSequence) {
  dll02().call("ClearNameSet");
  std::set<std::string> model;
  std::mt19937 rng(7);
  const char* bases[] = {"a", "a_copy", "a_copy3", "b", "b_copy1x", "a_copy12"};
  for (int i = 0; i < 3000; ++i) {
    if (rng() % 500 == 0) {
      dll02().call("ClearNameSet");
      model.clear();
    }
    std::string name = bases[rng() % 6];
    if (rng() % 3 == 0) name += std::to_string(rng() % 30);
    std::string expected = name;
    if (!model.insert(name).second) {
      size_t m = name.find("_copy");
      std::string base = m == std::string::npos ? name + "_copy" : name.substr(0, m + 5);
      for (unsigned k = 1;; ++k)
        if (model.insert(base + std::to_string(k)).second) {
          expected = base + std::to_string(k);
          break;
        }
    }
    ASSERT_EQ(checkName(name.c_str()), expected) << i;
  }
}

}  // namespace
