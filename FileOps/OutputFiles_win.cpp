// The room on the volume an output goes to, on Windows.
#include <windows.h>

#include <string>
#include <vector>

#include "FileOps.h"

namespace fileops {

bool freeSpaceFor(const char* path, FreeSpace& space) noexcept {
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
    space.bytes = available.QuadPart;
    // A file takes whole clusters. The volume's root is asked: the call
    // wants a root, and every folder of a volume has its cluster size.
    wchar_t root[MAX_PATH];
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    space.blockSize = 1;
    if (GetVolumePathNameW(wide.data(), root, MAX_PATH) &&
        GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) &&
        sectorsPerCluster != 0 && bytesPerSector != 0)
      space.blockSize = uint64_t(sectorsPerCluster) * bytesPerSector;
    space.filesKnown = false;  // NTFS has no fixed count of files
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace fileops
