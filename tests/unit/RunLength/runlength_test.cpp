#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "NameSet.h"
#include "RunLength.h"

namespace {

using Bytes = std::vector<unsigned char>;
using fennick::Status;

Bytes compress(const Bytes& in) {
  Bytes out;
  EXPECT_EQ(runlength::compressBuffer(in.data(), in.size(), out), Status::Ok);
  return out;
}

Bytes decompress(const Bytes& in) {
  Bytes out;
  EXPECT_EQ(runlength::decompressBuffer(in.data(), in.size(), out), Status::Ok);
  return out;
}

TEST(RunLengthCodec, OnePairPerRunAndRunsCutAt255) {
  EXPECT_EQ(compress({}), Bytes{});
  EXPECT_EQ(compress({7}), (Bytes{1, 7}));
  EXPECT_EQ(compress({1, 1, 2, 1}), (Bytes{2, 1, 1, 2, 1, 1}));
  Bytes long_run(600, 'a');
  long_run.push_back('b');
  EXPECT_EQ(compress(long_run), (Bytes{255, 'a', 255, 'a', 90, 'a', 1, 'b'}));
  Bytes exact(255, 0);
  EXPECT_EQ(compress(exact), (Bytes{255, 0}));
  exact.push_back(0);
  EXPECT_EQ(compress(exact), (Bytes{255, 0, 1, 0}));
}

TEST(RunLengthCodec, DecodingTakesEveryPairOnItsOwn) {
  // Count 0 yields nothing; a trailing count without its value neither;
  // runs of every length around the 8- and 16-byte stores come out whole.
  EXPECT_EQ(decompress({0, 'x', 2, 'y', 5}), (Bytes{'y', 'y'}));
  EXPECT_EQ(decompress({}), Bytes{});
  for (unsigned n : {1u, 7u, 8u, 9u, 15u, 16u, 17u, 254u, 255u}) {
    const Bytes pairs = {static_cast<unsigned char>(n), 'v', 3, 'w'};
    Bytes expected(n, 'v');
    expected.insert(expected.end(), 3, 'w');
    EXPECT_EQ(decompress(pairs), expected) << n;
    EXPECT_EQ(runlength::decodedSize(pairs.data(), pairs.size()), n + 3u);
  }
}

TEST(RunLengthCodec, PiecesEncodeAsTheWholeAndRoundTrip) {
  Bytes in;
  for (int i = 0; i < 5000; ++i) in.insert(in.end(), size_t(i % 300 + 1), (i * 37) & 0xFF);
  const Bytes whole = compress(in);
  EXPECT_EQ(decompress(whole), in);
  for (size_t piece : {1, 2, 3, 255, 256, 4096}) {
    Bytes out(runlength::encodeRoom(in.size()));
    runlength::Encoder e;
    unsigned char* end = out.data();
    for (size_t at = 0; at < in.size(); at += piece)
      end = runlength::encode(e, in.data() + at, std::min(piece, in.size() - at), end);
    end = runlength::finish(e, end);
    EXPECT_EQ(Bytes(out.data(), end), whole) << piece;
  }
}

TEST(RunLengthCodec, RatioOfTheSizesAsFloats) {
  EXPECT_EQ(runlength::compressionRatio({4, 2}), 0.5f);
  EXPECT_EQ(runlength::compressionRatio({3, 6}), 2.0f);
  EXPECT_TRUE(std::isnan(runlength::compressionRatio({0, 0})));  // empty input
}

TEST(NameSetCopies, CopiesCountPerBaseAndClearForgets) {
  nameset::NameSet set;
  char block[64];
  auto ask = [&](const char* name) {
    EXPECT_EQ(nameset::checkName(set, name, block), Status::Ok);
    return std::string(block);
  };
  EXPECT_EQ(ask("box"), "box");
  EXPECT_EQ(ask("box"), "box_copy1");
  EXPECT_EQ(ask("box"), "box_copy2");
  EXPECT_EQ(ask("box_copy9"), "box_copy9");
  EXPECT_EQ(ask("box_copy9"), "box_copy3");  // cut after its first "_copy"
  EXPECT_EQ(ask("box_copy4"), "box_copy4");
  EXPECT_EQ(ask("box"), "box_copy5");  // 4 was taken by name
  EXPECT_EQ(nameset::checkName(set, nullptr, block), Status::NullArgument);
  EXPECT_EQ(nameset::checkName(set, "box", nullptr), Status::NullArgument);
  nameset::clear(set);
  EXPECT_EQ(ask("box"), "box");
  EXPECT_EQ(ask("box"), "box_copy1");
}

}  // namespace
