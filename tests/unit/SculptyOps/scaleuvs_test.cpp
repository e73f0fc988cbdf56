#include <gtest/gtest.h>

#include <string>

#include "ScaleUVs.h"
#include "TestSupport.h"
#include "TextOps.h"

namespace {

using fennick::Status;

std::string scaled(const std::string& text, double factor) {
  std::string bytes;
  textops::OutFile out;
  EXPECT_EQ(textops::openOutMemory(out, bytes), Status::Ok);
  scaleuvs::scaleUVText(reinterpret_cast<const unsigned char*>(text.data()), text.size(), factor,
                        out);
  EXPECT_TRUE(textops::closeOut(out));
  return bytes;
}

TEST(ScaleUVText, ScalesTextureLinesAndCopiesTheRest) {
  // 0.5: t / 2 + 0.25. Text after the numbers is dropped; every line ends
  // in one line feed.
  EXPECT_EQ(scaled("v 1 2 3\nvt 0 1\nvt 0.5 x 9\r\nf 1 2 3", 0.5),
            "v 1 2 3\nvt 0.25 0.75 \nvt 0.5 \nf 1 2 3\n");
  // A number beyond the float range fails the stream rule: the numbers end.
  EXPECT_EQ(scaled("vt\nvt 1e40 1\nvt 1 1e40 1\n", 1.0), "vt \nvt \nvt 1 \n");
  EXPECT_EQ(scaled("", 0.5), "");
}

TEST(ScaleUVText, TheFileWrapperWritesTheSameBytes) {
  std::string text;
  for (int i = 0; i < 40000; ++i) text += "v 1 2 3\nvt 0." + std::to_string(i) + " 1\n";
  const std::string dir = testsupport::makeTempDir("scaleuvs");
  const std::string in = dir + "/in.obj", out = dir + "/out.obj";
  ASSERT_TRUE(testsupport::writeText(in, text));
  ASSERT_EQ(scaleuvs::scaleUVFile(in.c_str(), out.c_str(), 0.3), Status::Ok);
  EXPECT_EQ(testsupport::readText(out), scaled(text, 0.3));
  EXPECT_EQ(scaleuvs::scaleUVFile(in.c_str(), in.c_str(), 0.3), Status::OutputIsInput);
  EXPECT_EQ(scaleuvs::scaleUVFile((dir + "/none.obj").c_str(), out.c_str(), 0.3),
            Status::OpenFailed);
}

}  // namespace
