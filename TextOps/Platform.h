// What TextOps takes from the system, one implementation per platform
// (Platform_posix.cpp, Platform_win.cpp). Those files also define the file
// functions of TextOps.h: openRead, fileSize, seekTo.
#pragma once

#include <cstddef>

namespace textops {

// A block of `bytes` bytes (a multiple of kPageSize) starting on a page
// boundary, or null. Freed with freePages.
void* allocatePages(size_t bytes) noexcept;
void freePages(void* block) noexcept;

}  // namespace textops
