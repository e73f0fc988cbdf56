# Cross build for 64-bit ARM Linux with clang (the release tools/versions.sh
# names; GNU's aarch64 C and C++ libraries), run under qemu-aarch64. char
# is signed, as on Apple's arm64 (Linux arm64's own is unsigned).
# GoogleTest comes from its sources (-DFENNICK_GTEST_FROM_SOURCE=ON).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/ToolVersions.cmake)
set(CMAKE_C_COMPILER clang-${FENNICK_LLVM})
set(CMAKE_CXX_COMPILER clang++-${FENNICK_LLVM})
set(CMAKE_C_COMPILER_TARGET aarch64-linux-gnu)
set(CMAKE_CXX_COMPILER_TARGET aarch64-linux-gnu)
set(CMAKE_C_FLAGS_INIT "-fsigned-char")
set(CMAKE_CXX_FLAGS_INIT "-fsigned-char")
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
