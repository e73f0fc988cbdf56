#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "DirectText.h"
#include "PlainOut.h"
#include "TestSupport.h"
#include "PodArray.h"

namespace {

std::string direct(int32_t v) {
  char text[32];
  return std::string(text, textops::writeInt64(text, v));
}

std::string reference(int64_t v) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

TEST(DirectText, IntegersAgreeWithToChars) {
  // Every length boundary, both signs, the range ends.
  std::vector<int64_t> edges = {0, INT32_MAX, INT32_MIN, INT32_MIN + 1};
  for (int64_t p = 1; p <= 1000000000; p *= 10) {
    for (int64_t v : {p - 1, p, p + 1}) {
      edges.push_back(v);
      edges.push_back(-v);
    }
  }
  for (int64_t v : edges) ASSERT_EQ(direct(int32_t(v)), reference(v)) << v;
  std::mt19937 random(7);
  for (int i = 0; i < 1000000; ++i) {
    int32_t v = int32_t(random()) >> (random() % 32);
    ASSERT_EQ(direct(v), reference(v)) << v;
  }
}

// The 64-bit writers, through formatInt / formatUInt, which every writer of
// the library uses for counts and indices.
TEST(DirectText, WideIntegersAgreeWithToChars) {
  auto viaFormat = [](int64_t v) {
    char text[textops::kMaxNumberText];
    return std::string(text, textops::formatInt(v, text));
  };
  auto viaFormatU = [](uint64_t v) {
    char text[textops::kMaxNumberText];
    return std::string(text, textops::formatUInt(v, text));
  };
  auto referenceU = [](uint64_t v) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
  };
  std::vector<uint64_t> edges = {0, UINT32_MAX, uint64_t(UINT32_MAX) + 1, UINT64_MAX,
                                 uint64_t(INT64_MAX), uint64_t(INT64_MAX) + 1};
  for (uint64_t p = 1; p <= 10000000000000000000ull; p *= 10) {
    for (uint64_t v : {p - 1, p, p + 1}) edges.push_back(v);
    if (p > UINT64_MAX / 10) break;
  }
  for (uint64_t v : edges) {
    ASSERT_EQ(viaFormatU(v), referenceU(v)) << v;
    ASSERT_EQ(viaFormat(int64_t(v)), reference(int64_t(v))) << int64_t(v);
  }
  std::mt19937_64 random(13);
  for (int i = 0; i < 1000000; ++i) {
    uint64_t v = random() >> (random() % 64);
    ASSERT_EQ(viaFormatU(v), referenceU(v)) << v;
    ASSERT_EQ(viaFormat(int64_t(v)), reference(int64_t(v))) << int64_t(v);
  }
}

TEST(DirectText, RoomFlushesOnlyWhenTheBufferLacksIt) {
  textops::OutFile out;
  std::string path = testsupport::makeTempDir("directroom") + "/room.txt";
  ASSERT_EQ(testsupport::openPlainOut(out, path, 4096), fennick::Status::Ok);
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    char* p = textops::room(out, 16);
    ASSERT_GE(textops::roomLeft(out), 16u);
    p = textops::writeInt64(p, i * 7919);
    *p++ = ' ';
    textops::advance(out, p);
    expected += reference(i * 7919) + " ";
    ASSERT_EQ(textops::bytesPut(out), expected.size());
  }
  ASSERT_TRUE(textops::closeOut(out));
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::string written(expected.size() + 1, '\0');
  written.resize(std::fread(&written[0], 1, written.size(), f));
  std::fclose(f);
  EXPECT_EQ(written, expected);
}

TEST(PodArray, GrowsKeepingItsValues) {
  textops::PodArray<int32_t> a;
  for (int32_t i = 0; i < 3000000; ++i) textops::pushBack(a, i * 3);
  int32_t* tail = textops::extend(a, 5);
  for (int i = 0; i < 5; ++i) tail[i] = -i;
  ASSERT_EQ(a.size, 3000005u);
  for (int32_t i = 0; i < 3000000; ++i) ASSERT_EQ(a[size_t(i)], i * 3);
  EXPECT_EQ(a[3000004], -4);
  textops::PodArray<int32_t> moved(std::move(a));
  EXPECT_EQ(moved.size, 3000005u);
  EXPECT_EQ(a.data, nullptr);
  EXPECT_THROW(textops::reserveMore(moved, SIZE_MAX / 2), std::bad_alloc);
  EXPECT_EQ(moved.size, 3000005u);
}

}  // namespace
