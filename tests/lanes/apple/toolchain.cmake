# Compiles FennickDLL for macOS on Linux through the release's own cross
# toolchain: clang with Apple targets on Apple's libc headers, libc++'s
# headers with Apple's availability annotations on, calls newer than the
# deployment target refused (C and C++ library alike).
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/toolchain-macos-cross.cmake)
