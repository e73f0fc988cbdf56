# clang (tools/versions.sh) over LLVM's C++ library (libc++), the standard library macOS
# ships: both editions and their tests on Linux. GoogleTest must be built
# from its sources on the same library (-DFENNICK_GTEST_FROM_SOURCE=ON).
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/ToolVersions.cmake)
set(CMAKE_C_COMPILER clang-${FENNICK_LLVM})
set(CMAKE_CXX_COMPILER clang++-${FENNICK_LLVM})
set(CMAKE_CXX_FLAGS_INIT "-stdlib=libc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-stdlib=libc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-stdlib=libc++")
