// The folder listing's memory running out: the streams of FileOps (linked
// into this program) answer NoMemory, never a plain failure, whichever of
// their allocations fails first. The non-throwing operator new is replaced
// here: once a countdown of allocations runs out, each later one fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "DirStream.h"
#include "FileOps.h"
#include "TestSupport.h"

namespace {

long gAllocationsLeft = -1;  // -1: nothing fails
bool gRanOut = false;

bool allocationFails() {
  if (gAllocationsLeft < 0) return false;
  if (gAllocationsLeft == 0) {
    gRanOut = true;
    return true;
  }
  --gAllocationsLeft;
  return false;
}

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return allocationFails() ? nullptr : std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return allocationFails() ? nullptr : std::malloc(size ? size : 1);
}

namespace {

using fennick::Status;

// Opens with the countdown at 0, 1, 2, ... until an open makes no failing
// allocation: every earlier one must answer NoMemory with no stream.
template <class Open>
void sweep(Open open, const char* what) {
  for (long left = 0; left < 16; ++left) {
    fileops::DirStream* s = nullptr;
    gRanOut = false;
    gAllocationsLeft = left;
    const Status status = open(s);
    gAllocationsLeft = -1;
    if (!gRanOut) {
      EXPECT_EQ(status, Status::Ok) << what;
      EXPECT_NE(fileops::readDirStream(s), nullptr) << what;
      fileops::closeDirStream(s);
      EXPECT_GT(left, 0) << what << ": allocates nothing";
      return;
    }
    EXPECT_EQ(status, Status::NoMemory) << what << " with " << left << " allocations";
    EXPECT_EQ(s, nullptr) << what;
    fileops::closeDirStream(s);
  }
  ADD_FAILURE() << what << ": never opened";
}

TEST(WinDirStreamNoMemory, EveryAllocationThatFailsAnswersNoMemory) {
  const std::string dir = testsupport::makeTempDir("dsmem");
  sweep([&](fileops::DirStream*& s) { return fileops::openDirStream(dir.c_str(), s); },
        "openDirStream");
  sweep([&](fileops::DirStream*& s) { return fileops::openFolderWalk(dir.c_str(), s); },
        "openFolderWalk");
  // The emptying answers the same (its own strings allocate by the
  // throwing operator new, which is not counted here).
  for (long left = 0;; ++left) {
    gRanOut = false;
    gAllocationsLeft = left;
    const Status status = fileops::clearFolder(dir);
    gAllocationsLeft = -1;
    if (!gRanOut) {
      EXPECT_EQ(status, Status::Ok);
      break;
    }
    EXPECT_EQ(status, Status::NoMemory) << left;
    ASSERT_LT(left, 16);
  }
}

}  // namespace
