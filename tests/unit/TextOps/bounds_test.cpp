// AddressSanitizer builds only: the buffers that hold a file's bytes end,
// for the sanitizer, where the data ends, although they are allocated in
// whole pages. A read one byte past the data must fail the run.
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#define BOUNDS_TESTED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BOUNDS_TESTED 1
#endif
#endif

#if defined(BOUNDS_TESTED)

#include <sanitizer/asan_interface.h>

#include <string>

#include "TestSupport.h"
#include "TextOps.h"

namespace {

using testsupport::makeTempDir;
using testsupport::writeText;

bool poisoned(const void* p) { return __asan_address_is_poisoned(p) != 0; }
// Every byte of [p, p + n) may be read.
bool readable(const void* p, size_t n) {
  return n == 0 || __asan_region_is_poisoned(const_cast<void*>(p), n) == nullptr;
}

std::string patterned(size_t size) {
  std::string text(size, 'x');
  for (size_t i = 0; i < size; ++i) text[i] = char('a' + i % 23);
  return text;
}

TEST(SanitizerBounds, AllocationEndsAtTheSizeAskedFor) {
  for (size_t size : {size_t(1), size_t(7), size_t(1000), size_t(4095), size_t(4097)}) {
    textops::AlignedBytes block = textops::allocateAligned(size);
    ASSERT_TRUE(block);
    EXPECT_TRUE(readable(block.get(), size)) << size;
    EXPECT_TRUE(poisoned(block.get() + size)) << size;
  }
}

TEST(SanitizerBounds, WholeFileEndsWithItsData) {
  const std::string dir = makeTempDir("bounds");
  for (size_t size : {size_t(0), size_t(1), size_t(5), size_t(8), size_t(4095), size_t(4096),
                      size_t(4097), size_t(100003)}) {
    const std::string path = dir + "/f" + std::to_string(size);
    ASSERT_TRUE(writeText(path, patterned(size)));
    textops::FileBytes file;
    ASSERT_EQ(textops::readWholeFile(path.c_str(), file), fennick::Status::Ok);
    ASSERT_EQ(file.size, size);
    EXPECT_TRUE(readable(file.data.get(), size)) << size;
    EXPECT_TRUE(poisoned(file.data.get() + size)) << size;
  }
}

TEST(SanitizerBounds, LineRunIsAllThatCanBeRead) {
  const std::string dir = makeTempDir("bounds");
  std::string text;
  for (int i = 0; i < 4000; ++i) text += patterned(size_t(i * 37 % 101)) + "\n";
  text += std::string(9000, 'L') + "\n" + "last line without a line feed";
  const std::string path = dir + "/lines";
  ASSERT_TRUE(writeText(path, text));
  for (size_t block : {size_t(1), size_t(4096), size_t(5000), size_t(1) << 20}) {
    textops::FilePtr f = textops::openRead(path.c_str());
    ASSERT_TRUE(f);
    textops::LineBlockReader reader;
    ASSERT_TRUE(textops::initLineReader(reader, f.get(), block));
    std::string seen;
    const char* begin;
    const char* end;
    while (textops::nextLineBlock(reader, begin, end)) {
      const auto* first = reader.buffer.get();
      const auto* b = reinterpret_cast<const unsigned char*>(begin);
      EXPECT_TRUE(readable(begin, size_t(end - begin)));
      EXPECT_TRUE(poisoned(end)) << "block " << block << " at " << seen.size();
      // Before the run: poisoned to the sanitizer's 8-byte granules.
      if (b - first >= 8) {
        EXPECT_TRUE(poisoned(b - 8));
      }
      seen.append(begin, end);
    }
    EXPECT_EQ(seen, text) << "block " << block;
    EXPECT_TRUE(poisoned(reader.buffer.get()));
  }
}

TEST(SanitizerBounds, ReadBlockPoisonsWhatTheReadLeftOver) {
  const std::string dir = makeTempDir("bounds");
  const std::string path = dir + "/b";
  ASSERT_TRUE(writeText(path, patterned(150)));
  textops::FilePtr f = textops::openRead(path.c_str());
  ASSERT_TRUE(f);
  textops::AlignedBytes block = textops::allocateAligned(100);
  ASSERT_EQ(textops::readBlock(f.get(), block.get(), 100), 100u);
  EXPECT_TRUE(readable(block.get(), 100));
  ASSERT_EQ(textops::readBlock(f.get(), block.get(), 100), 50u);
  EXPECT_TRUE(readable(block.get(), 50));
  EXPECT_TRUE(poisoned(block.get() + 50));
  ASSERT_EQ(textops::readBlock(f.get(), block.get(), 100), 0u);
  EXPECT_TRUE(poisoned(block.get()));
}

TEST(SanitizerBounds, LocalBufferRestIsPoisonedWhileInScope) {
  unsigned char head[64] = {};
  {
    const textops::PoisonedRest unread(head, 13, sizeof head);
    EXPECT_TRUE(readable(head, 13));
    EXPECT_TRUE(poisoned(head + 13));
    EXPECT_TRUE(poisoned(head + 63));
  }
  EXPECT_TRUE(readable(head, sizeof head));
}

// The same as the sanitizer reports it in a reader: one byte past a file's
// data ends the run.
TEST(SanitizerBoundsDeathTest, ReadingOneBytePastAFileFails) {
  const std::string dir = makeTempDir("bounds");
  const std::string path = dir + "/short.vyx";
  ASSERT_TRUE(writeText(path, patterned(45)));
  textops::FileBytes file;
  ASSERT_EQ(textops::readWholeFile(path.c_str(), file), fennick::Status::Ok);
  const volatile unsigned char* data = file.data.get();
  EXPECT_EQ(data[44], 'a' + 44 % 23);
  EXPECT_DEATH((void)data[45], "AddressSanitizer: use-after-poison");
}

}  // namespace

#endif
