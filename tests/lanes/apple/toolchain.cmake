# Compiles FennickDLL for macOS on Linux, objects only: clang-19 with Apple
# targets (the architectures and deployment target come from the project's
# own Apple branch) over libc++'s headers with Apple's availability
# annotations switched on, so a standard-library call newer than the
# deployment target is refused. The C headers underneath are glibc's
# (x86_64 and aarch64, one set per -arch); include/ adds what libc++ wants of
# macOS's <xlocale.h>. There is no Apple linker or SDK here: nothing links.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_C_COMPILER clang-19)
set(CMAKE_CXX_COMPILER clang++-19)
set(CMAKE_OBJCXX_COMPILER clang++-19)
foreach(lang C CXX OBJCXX)
  set(CMAKE_${lang}_COMPILER_TARGET x86_64-apple-darwin)
endforeach()
find_program(CMAKE_AR NAMES llvm-ar-19 REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib-19 REQUIRED)
find_program(fennick_lipo NAMES llvm-lipo-19 REQUIRED)
find_program(CMAKE_INSTALL_NAME_TOOL NAMES llvm-install-name-tool-19 REQUIRED)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# libc++'s configuration with the line that switches the annotations off
# removed; found ahead of the installed one.
set(fennick_libcxx /usr/lib/llvm-19/include/c++/v1)
set(fennick_lane ${CMAKE_BINARY_DIR}/apple-lane)
file(READ ${fennick_libcxx}/__config_site fennick_config)
set(fennick_off "#define _LIBCPP_HAS_NO_VENDOR_AVAILABILITY_ANNOTATIONS")
string(FIND "${fennick_config}" "${fennick_off}" fennick_at)
if(fennick_at EQUAL -1)
  message(FATAL_ERROR "${fennick_libcxx}/__config_site: no '${fennick_off}' to remove")
endif()
string(REPLACE "${fennick_off}" "" fennick_config "${fennick_config}")
file(WRITE ${fennick_lane}/config/__config_site "${fennick_config}")
# No SDK: an empty folder stands for it, so that every header comes from the
# folders named below and CMake looks up nothing per architecture.
file(MAKE_DIRECTORY ${fennick_lane}/sdk)
set(CMAKE_OSX_SYSROOT ${fennick_lane}/sdk)
# A universal compile joins its slices with "lipo".
file(MAKE_DIRECTORY ${fennick_lane}/bin)
file(CREATE_LINK ${fennick_lipo} ${fennick_lane}/bin/lipo SYMBOLIC)

# glibc's headers for each architecture built (x86_64 when none is named,
# as in the project's Apple branch); -Xarch_ gives each slice its own.
set(fennick_archs ${CMAKE_OSX_ARCHITECTURES})
if(NOT fennick_archs)
  set(fennick_archs x86_64)
endif()
set(fennick_c_headers
    -isystem /usr/lib/llvm-19/lib/clang/19/include
    -isystem ${CMAKE_CURRENT_LIST_DIR}/include)
foreach(arch IN LISTS fennick_archs)
  if(arch STREQUAL "x86_64")
    list(APPEND fennick_c_headers -Xarch_x86_64 -isystem/usr/include/x86_64-linux-gnu
         -Xarch_x86_64 -isystem/usr/include)
  elseif(arch STREQUAL "arm64")
    list(APPEND fennick_c_headers -Xarch_arm64 -isystem/usr/aarch64-linux-gnu/include)
  else()
    message(FATAL_ERROR "no C headers for architecture ${arch}")
  endif()
endforeach()
list(APPEND fennick_c_headers -U__nonnull -U__nullable -U__null_unspecified -D_GNU_SOURCE)
string(JOIN " " CMAKE_C_FLAGS_INIT -B${fennick_lane}/bin ${fennick_c_headers})
string(JOIN " " CMAKE_CXX_FLAGS_INIT -B${fennick_lane}/bin -nostdinc++
       -isystem ${fennick_lane}/config -isystem ${fennick_libcxx} ${fennick_c_headers})
set(CMAKE_OBJCXX_FLAGS_INIT "${CMAKE_CXX_FLAGS_INIT}")
