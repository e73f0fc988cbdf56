// An edition unloaded by the host is gone: its state (the open folder
// listing) does not survive into the next load, and what it held open is
// closed with it.
#include <dirent.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include "EditionLoader.h"

namespace {

using Fn = loader::ExportFn;

bool mapped(const std::string& realPath) {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.size() >= realPath.size() &&
        line.compare(line.size() - realPath.size(), realPath.size(), realPath) == 0)
      return true;
  }
  return false;
}

size_t openDescriptors() {
  size_t n = 0;
  if (DIR* fds = opendir("/proc/self/fd")) {
    while (readdir(fds)) ++n;
    closedir(fds);
  }
  return n;
}

void reloadsWithoutState(const char* path) {
  char real[PATH_MAX];
  ASSERT_NE(realpath(path, real), nullptr) << path;
  ASSERT_FALSE(mapped(real)) << "loaded before the test: " << real;

  const size_t descriptors = openDescriptors();
  void* handle = loader::open(path);
  ASSERT_NE(handle, nullptr) << loader::lastError();
  Fn openFolder = loader::function<Fn>(handle, "OpenFolder");
  Fn getFile = loader::function<Fn>(handle, "GetFile");
  ASSERT_NE(openFolder, nullptr);
  ASSERT_NE(getFile, nullptr);
  char folderPath[] = FENNICK_SAMPLES_DIR;
  char block[1024] = "";
  ASSERT_EQ(openFolder(folderPath, 0, nullptr), 0.0f);
  ASSERT_EQ(getFile(nullptr, 0, block), 0.0f);  // the listing is open
  EXPECT_TRUE(mapped(real));
  ASSERT_TRUE(loader::close(handle));
  EXPECT_FALSE(mapped(real)) << "still mapped after its last dlclose";
  EXPECT_EQ(openDescriptors(), descriptors) << "the open listing outlived the unload";

  handle = loader::open(path);
  ASSERT_NE(handle, nullptr) << loader::lastError();
  getFile = loader::function<Fn>(handle, "GetFile");
  ASSERT_NE(getFile, nullptr);
  std::string untouched = "untouched";
  std::copy(untouched.begin(), untouched.end() + 1, block);
  EXPECT_EQ(getFile(nullptr, 0, block), -1.0f) << "a listing survived the unload";
  EXPECT_EQ(untouched, block);
  loader::close(handle);
}

// A program of its own: nothing else in the process loads the editions.
TEST(Unload, FennickDLLLeavesNoStateBehind) { reloadsWithoutState(FENNICK_DLL_PATH); }
TEST(Unload, FennickDLL02LeavesNoStateBehind) { reloadsWithoutState(FENNICK_DLL02_PATH); }

}  // namespace
