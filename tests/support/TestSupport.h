// Files and folders for tests: a fresh temporary folder per test, whole-file
// reads and writes, folder listings.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <direct.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace testsupport {

// The folders makeTempDir made, removed when the program ends (by the
// process that made them: not by a forked child), unless FENNICK_KEEP_TEMP
// is set, in which case they are named on standard error.
struct TempDirs {
  std::vector<std::string> dirs;
  long owner = 0;
  ~TempDirs() {
    if (currentProcess() != owner) return;
    const bool keep = std::getenv("FENNICK_KEEP_TEMP") != nullptr;
    for (const std::string& d : dirs) {
      std::error_code ignored;
      if (keep) {
        std::fprintf(stderr, "kept %s\n", d.c_str());
      } else {
        std::filesystem::remove_all(d, ignored);
      }
    }
  }
  static long currentProcess() {
#if defined(_WIN32)
    return long(GetCurrentProcessId());
#else
    return long(getpid());
#endif
  }
};

inline TempDirs& tempDirs() {
  static TempDirs made;
  return made;
}

inline std::string makeTempDir(const std::string& tag) {
#if defined(_WIN32)
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static int serial = 0;
  std::string dir = std::string(base) + "fennick_" + tag + "_" +
                    std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
  _mkdir(dir.c_str());
#else
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/fennick_" + tag + "_XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  char* made = mkdtemp(buf.data());
  std::string dir = made ? std::string(made) : std::string();
#endif
  TempDirs& all = tempDirs();
  all.owner = TempDirs::currentProcess();
  if (!dir.empty()) all.dirs.push_back(dir);
  return dir;
}

// Removes a folder a test made, with everything in it.
inline void removeTree(const std::string& dir) {
  std::error_code ignored;
  if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
}

inline bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

inline bool writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return bool(out);
}

inline std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
  std::string s = readText(path);
  return std::vector<uint8_t>(s.begin(), s.end());
}

// Writes `text` to a file opened for writing and closes it; true when both
// went through.
inline bool writeAndClose(std::FILE* f, const std::string& text) {
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

// The names in a folder, one level, without those starting with '.', sorted.
inline std::vector<std::string> namesIn(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
    std::string name = e.path().filename().string();
    if (name[0] != '.') names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline bool fileExists(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return bool(in);
}

}  // namespace testsupport
