# The versions of the tools the lanes and the cross toolchains name, in one
# place: sourced by the scripts, read by cmake/ToolVersions.cmake.
# The LLVM release (clang, lld, llvm tools, libc++) of the libcxx, arm64,
# apple, objc and macos lanes and of the macOS release build.
fennick_llvm=19
