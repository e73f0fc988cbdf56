// The one replacement every output goes through: the target keeps its
// contents until the new ones are complete, keeps its bits, owner and
// attributes, is never an input, and a failure leaves nothing beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "FileOps.h"
#include "TestSupport.h"

namespace {

using testsupport::namesIn;
using testsupport::readText;
using testsupport::writeAndClose;
using testsupport::writeText;

uint32_t modeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? uint32_t(st.st_mode & 07777) : 0xFFFFu;
}

// Writes `text` through an Output; `finish` false leaves it unfinished.
fennick::Status writeOutput(const std::string& path, const std::string& text,
                                  const fileops::OutputRules& rules, bool finish = true,
                                  bool* finished = nullptr) {
  fileops::Output o;
  const fennick::Status s = fileops::openOutput(o, path.c_str(), rules);
  if (s != fennick::Status::Ok) return s;
  textops::put(o.out, text);
  if (finish) {
    const bool done = fileops::closeOutput(o);
    if (finished) *finished = done;
  }
  return s;
}

TEST(Replace, TheFileKeepsItsContentsUntilTheNewOnesAreComplete) {
  std::string dir = testsupport::makeTempDir("beside");
  std::string target = dir + "/t.bin";
  ASSERT_TRUE(writeText(target, "old contents"));
  fileops::Replacement r;
  textops::FilePtr f;
  ASSERT_EQ(fileops::openReplacement(r, f, target.c_str(), fileops::OutputRules()),
            fennick::Status::Ok);
  ASSERT_TRUE(writeAndClose(f.release(), "new"));
  EXPECT_EQ(readText(target), "old contents");
  EXPECT_FALSE(fileops::finishReplacement(r, false));  // the writing failed
  EXPECT_EQ(readText(target), "old contents");
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"t.bin"});

  // An Output never closed (an early return) replaces nothing either.
  EXPECT_EQ(writeOutput(target, "unfinished", fileops::OutputRules(), false),
            fennick::Status::Ok);
  EXPECT_EQ(readText(target), "old contents");
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"t.bin"});

  bool finished = false;
  EXPECT_EQ(writeOutput(target, "new", fileops::OutputRules(), true, &finished),
            fennick::Status::Ok);
  EXPECT_TRUE(finished);
  EXPECT_EQ(readText(target), "new");
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"t.bin"});
  testsupport::removeTree(dir);
}

TEST(Replace, AFileWithTheNameOfTheNewOneIsLeftAlone) {
  std::string dir = testsupport::makeTempDir("besideclash");
  std::string target = dir + "/t.bin";
  ASSERT_TRUE(writeText(target, "old"));
  ASSERT_TRUE(writeText(target + ".new0", "someone's file"));
  bool finished = false;
  EXPECT_EQ(writeOutput(target, "new", fileops::OutputRules(), true, &finished),
            fennick::Status::Ok);
  EXPECT_TRUE(finished);
  EXPECT_EQ(readText(target), "new");
  EXPECT_EQ(readText(target + ".new0"), "someone's file");
  EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"t.bin", "t.bin.new0"}));
  testsupport::removeTree(dir);
}

TEST(Replace, ASymbolicLinkStaysAndTheFileItNamesIsReplaced) {
  std::string dir = testsupport::makeTempDir("replacelink");
  ASSERT_TRUE(writeText(dir + "/src", "copied"));
  ASSERT_TRUE(writeText(dir + "/named", "named by the link"));
  ASSERT_EQ(symlink("named", (dir + "/link").c_str()), 0);
  EXPECT_EQ(fileops::copyFile((dir + "/src").c_str(), (dir + "/link").c_str()), fennick::Status::Ok);
  struct stat st;
  ASSERT_EQ(lstat((dir + "/link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(readText(dir + "/named"), "copied");
  // A link that names nothing is itself replaced: nothing is made elsewhere.
  ASSERT_EQ(symlink("nowhere/file", (dir + "/dangling").c_str()), 0);
  EXPECT_EQ(fileops::copyFile((dir + "/src").c_str(), (dir + "/dangling").c_str()), fennick::Status::Ok);
  ASSERT_EQ(lstat((dir + "/dangling").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(namesIn(dir),
            (std::vector<std::string>{"dangling", "link", "named", "src"}));
  testsupport::removeTree(dir);
}

TEST(Replace, AnInputIsRefusedByIdentity) {
  std::string dir = testsupport::makeTempDir("replaceinput");
  std::string input = dir + "/in.obj";
  ASSERT_TRUE(writeText(input, "v 1 2 3\n"));
  ASSERT_EQ(link(input.c_str(), (dir + "/hard.obj").c_str()), 0);
  ASSERT_EQ(symlink("in.obj", (dir + "/soft.obj").c_str()), 0);
  textops::FilePtr in = textops::openRead(input.c_str());
  ASSERT_TRUE(in);
  const fileops::OneInput from(in.get());
  for (const char* name : {"/in.obj", "/hard.obj", "/soft.obj", "/./in.obj"}) {
    EXPECT_EQ(writeOutput(dir + name, "x", from.rules), fennick::Status::OutputIsInput) << name;
  }
  EXPECT_EQ(readText(input), "v 1 2 3\n");
  EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"hard.obj", "in.obj", "soft.obj"}));
  // A folder is no output; a device is written as it stands.
  EXPECT_EQ(writeOutput(dir, "x", from.rules), fennick::Status::CreateFailed);
  bool finished = false;
  EXPECT_EQ(writeOutput("/dev/null", "x", from.rules, true, &finished),
            fennick::Status::Ok);
  EXPECT_TRUE(finished);
  testsupport::removeTree(dir);
}

TEST(Replace, OutputsAreNoMoreReadableThanTheirInputs) {
  std::string dir = testsupport::makeTempDir("replacebits");
  const mode_t oldMask = umask(022);
  std::string input = dir + "/private.obj";
  ASSERT_TRUE(writeText(input, "secret"));
  ASSERT_EQ(chmod(input.c_str(), 0600), 0);
  textops::FilePtr in = textops::openRead(input.c_str());
  ASSERT_TRUE(in);
  fileops::OneInput from(in.get());
  // A new output, and one replacing a 0664 file.
  EXPECT_EQ(writeOutput(dir + "/new.dae", "x", from.rules), fennick::Status::Ok);
  EXPECT_EQ(modeOf(dir + "/new.dae"), 0600u);
  ASSERT_TRUE(writeText(dir + "/old.dae", "old"));
  ASSERT_EQ(chmod((dir + "/old.dae").c_str(), 0664), 0);
  EXPECT_EQ(writeOutput(dir + "/old.dae", "x", from.rules), fennick::Status::Ok);
  EXPECT_EQ(modeOf(dir + "/old.dae"), 0620u);  // no read bit the input lacks
  // A public input: the target's own bits are kept, not the umask's.
  ASSERT_EQ(chmod(input.c_str(), 0644), 0);
  in = textops::openRead(input.c_str());
  fileops::OneInput open(in.get());
  ASSERT_EQ(chmod((dir + "/old.dae").c_str(), 0664), 0);
  EXPECT_EQ(writeOutput(dir + "/old.dae", "y", open.rules), fennick::Status::Ok);
  EXPECT_EQ(modeOf(dir + "/old.dae"), 0664u);
  // A copy: the source's bits masked by the umask, whatever the target had.
  ASSERT_EQ(chmod(input.c_str(), 0670), 0);
  ASSERT_EQ(fileops::copyFile(input.c_str(), (dir + "/old.dae").c_str()), fennick::Status::Ok);
  EXPECT_EQ(modeOf(dir + "/old.dae"), 0650u);
  umask(oldMask);
  testsupport::removeTree(dir);
}

TEST(Replace, ExtendedAttributesAreCarriedOver) {
  std::string dir = testsupport::makeTempDir("replacexattr");
  std::string target = dir + "/t.bin";
  ASSERT_TRUE(writeText(target, "old"));
  if (setxattr(target.c_str(), "user.fennick.tag", "red", 3, 0) != 0)
    GTEST_SKIP() << "this file system keeps no user attributes";
  EXPECT_EQ(writeOutput(target, "new", fileops::OutputRules()), fennick::Status::Ok);
  char value[8] = {};
  EXPECT_EQ(getxattr(target.c_str(), "user.fennick.tag", value, sizeof value), 3);
  EXPECT_STREQ(value, "red");
  EXPECT_EQ(readText(target), "new");
  testsupport::removeTree(dir);
}

TEST(RewriteTail, OnlyTheFileAsItWasRead) {
  std::string dir = testsupport::makeTempDir("tail");
  std::string path = dir + "/t.bin", other = dir + "/o.bin";
  const std::string old = "0123456789abcdefghij";
  ASSERT_TRUE(writeText(path, old));
  ASSERT_TRUE(writeText(other, old));
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  const auto* bytes = reinterpret_cast<const unsigned char*>(old.data());
  const auto* tail = reinterpret_cast<const unsigned char*>("XYZ");
  const fileops::FileIdentity asRead = fileops::identityOf(path.c_str());
  // Another file, or this one at another length than the contents read.
  EXPECT_FALSE(fileops::rewriteTail(path.c_str(), fileops::identityOf(other.c_str()), bytes,
                                    old.size(), 5, tail, 3));
  EXPECT_FALSE(fileops::rewriteTail(path.c_str(), asRead, bytes, old.size() - 1, 5, tail, 3));
  EXPECT_EQ(readText(path), old);
  // Narrowed to the bits it may have before the new bytes go in.
  ASSERT_TRUE(fileops::rewriteTail(path.c_str(), asRead, bytes, old.size(), 5, tail, 3, 0600));
  EXPECT_EQ(readText(path), "01234XYZ");
  EXPECT_EQ(modeOf(path), 0600u);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(uint64_t(st.st_ino), asRead.index);  // the same file, not a new one
  testsupport::removeTree(dir);
}

}  // namespace
