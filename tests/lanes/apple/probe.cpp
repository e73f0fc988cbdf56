// Must not compile for the lane's targets: proves libc++'s availability
// annotations are on and each slice has its own deployment target.
// std::filesystem needs macOS 10.15 (so only the x86_64 slice, at 10.13,
// refuses it); floating-point std::to_chars needs macOS 13.4.
#include <charconv>
#include <cstdint>
#include <filesystem>

std::uintmax_t sizeOf(const char* path) { return std::filesystem::file_size(path); }

bool formats(double value, char* out, char* end) {
  return std::to_chars(out, end, value).ec == std::errc();
}
