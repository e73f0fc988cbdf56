// The free space of the volume an output goes to, on Windows.
#include <windows.h>

#include <string>
#include <vector>

#include "FileOps.h"

namespace fileops {

bool freeSpaceFor(const char* path, uint64_t& bytes) noexcept {
  if (!path) return false;
  try {
    std::string folder = path;
    const size_t separator = folder.find_last_of("/\\:");
    if (separator == std::string::npos) {
      folder = ".";
    } else {
      folder.resize(separator + 1);
    }
    const int units = MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, nullptr, 0);
    if (units <= 0) return false;
    std::vector<wchar_t> wide(static_cast<size_t>(units));
    if (MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide.data(), units) != units)
      return false;
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExW(wide.data(), &available, nullptr, nullptr)) return false;
    bytes = available.QuadPart;
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace fileops
