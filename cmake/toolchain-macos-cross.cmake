# Builds FennickDLL for macOS on Linux: clang with Apple targets (the
# architectures and deployment target come from the project's Apple branch),
# ld64.lld as the linker, llvm-lipo to join slices, all of the LLVM release
# tools/versions.sh names.
#   cmake -S . -B build-mac -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-macos-cross.cmake
# The SDK is assembled in the build folder: Apple's libc headers and
# libSystem stub (tools/apple_libc.sh puts them in .deps/apple-libc, or
# FENNICK_APPLE_LIBC names another copy), the stubs of cmake/macos-stubs/ for
# libc++, libobjc and the frameworks, and an SDKSettings.json. The C++
# headers are Debian's libc++ of that release with Apple's availability annotations on,
# so a standard-library call newer than the deployment target is refused.
include(${CMAKE_CURRENT_LIST_DIR}/ToolVersions.cmake)
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_C_COMPILER clang-${FENNICK_LLVM})
set(CMAKE_CXX_COMPILER clang++-${FENNICK_LLVM})
set(CMAKE_OBJCXX_COMPILER clang++-${FENNICK_LLVM})
foreach(lang C CXX OBJCXX)
  set(CMAKE_${lang}_COMPILER_TARGET x86_64-apple-darwin)
endforeach()
find_program(CMAKE_AR NAMES llvm-ar-${FENNICK_LLVM} REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib-${FENNICK_LLVM} REQUIRED)
find_program(CMAKE_STRIP NAMES llvm-strip-${FENNICK_LLVM} REQUIRED)
find_program(CMAKE_INSTALL_NAME_TOOL NAMES llvm-install-name-tool-${FENNICK_LLVM} REQUIRED)
find_program(fennick_lipo NAMES llvm-lipo-${FENNICK_LLVM} REQUIRED)
find_program(fennick_ld64 NAMES ld64.lld-${FENNICK_LLVM} REQUIRED)

if(NOT FENNICK_APPLE_LIBC)
  set(FENNICK_APPLE_LIBC ${CMAKE_CURRENT_LIST_DIR}/../.deps/apple-libc)
endif()
get_filename_component(fennick_libc ${FENNICK_APPLE_LIBC} ABSOLUTE)
if(NOT EXISTS ${fennick_libc}/include/stdio.h OR NOT EXISTS ${fennick_libc}/libSystem.tbd)
  message(FATAL_ERROR "no Apple libc headers in ${fennick_libc}: run tools/apple_libc.sh")
endif()

set(fennick_cross ${CMAKE_BINARY_DIR}/macos-cross)
set(fennick_sdk ${fennick_cross}/MacOSX.sdk)
set(fennick_stubs ${CMAKE_CURRENT_LIST_DIR}/macos-stubs)
file(MAKE_DIRECTORY ${fennick_sdk}/usr/lib ${fennick_sdk}/System/Library/Frameworks)
file(CREATE_LINK ${fennick_libc}/include ${fennick_sdk}/usr/include SYMBOLIC)
file(CREATE_LINK ${fennick_libc}/libSystem.tbd ${fennick_sdk}/usr/lib/libSystem.tbd SYMBOLIC)
foreach(lib c++ objc)
  file(CREATE_LINK ${fennick_stubs}/lib${lib}.tbd ${fennick_sdk}/usr/lib/lib${lib}.tbd SYMBOLIC)
endforeach()
file(GLOB fennick_frameworks ${fennick_stubs}/*.framework.tbd)
foreach(stub IN LISTS fennick_frameworks)
  get_filename_component(fw ${stub} NAME)
  string(REPLACE ".framework.tbd" "" fw ${fw})
  file(MAKE_DIRECTORY ${fennick_sdk}/System/Library/Frameworks/${fw}.framework)
  file(CREATE_LINK ${stub} ${fennick_sdk}/System/Library/Frameworks/${fw}.framework/${fw}.tbd
       SYMBOLIC)
endforeach()
# The SDK version recorded in each slice's build version.
file(WRITE ${fennick_sdk}/SDKSettings.json
     "{\"CanonicalName\": \"macosx11.0\", \"Version\": \"11.0\", \"MaximumDeploymentTarget\": \"11.0.99\"}\n")
set(CMAKE_OSX_SYSROOT ${fennick_sdk})

# libc++'s configuration with the line that switches the annotations off
# removed; found ahead of the installed one.
set(fennick_libcxx /usr/lib/llvm-${FENNICK_LLVM}/include/c++/v1)
file(READ ${fennick_libcxx}/__config_site fennick_config)
set(fennick_off "#define _LIBCPP_HAS_NO_VENDOR_AVAILABILITY_ANNOTATIONS")
string(FIND "${fennick_config}" "${fennick_off}" fennick_at)
if(fennick_at EQUAL -1)
  message(FATAL_ERROR "${fennick_libcxx}/__config_site: no '${fennick_off}' to remove")
endif()
string(REPLACE "${fennick_off}" "" fennick_config "${fennick_config}")
file(WRITE ${fennick_cross}/config/__config_site "${fennick_config}")

# A universal compile or link joins its slices with "lipo".
file(MAKE_DIRECTORY ${fennick_cross}/bin)
file(CREATE_LINK ${fennick_lipo} ${fennick_cross}/bin/lipo SYMBOLIC)

# Calls newer than the deployment target are errors, C library's included.
set(fennick_common "-B${fennick_cross}/bin -Werror=unguarded-availability-new -Werror=unguarded-availability")
set(CMAKE_C_FLAGS_INIT "${fennick_common}")
set(CMAKE_CXX_FLAGS_INIT
    "${fennick_common} -nostdinc++ -isystem ${fennick_cross}/config -isystem ${fennick_libcxx}")
# Objective-C++ for Apple's runtime (the target's default) over Apple's objc/
# headers, with GNUstep's Foundation and AppKit declaring the classes
# (GNUstep takes the system's objc/runtime.h when it believes it has GNU's
# newer runtime) and cmake/macos-headers declaring the C calls of Carbon,
# CoreGraphics and CoreFoundation as Apple does; the prelude makes
# GNUstep's types Apple's where the two differ.
set(fennick_headers ${CMAKE_CURRENT_LIST_DIR}/macos-headers)
set(CMAKE_OBJCXX_FLAGS_INIT "${CMAKE_CXX_FLAGS_INIT} -D__GNU_LIBOBJC__=20110608 \
-DOS_OBJECT_USE_OBJC=0 -DGNUSTEP -DGNUSTEP_BASE_LIBRARY=1 -DGNU_GUI_LIBRARY=1 \
-isystem ${fennick_headers} -isystem /usr/include/GNUstep \
-include ${fennick_headers}/fennick_cross_prelude.h")
# lld as ld64; a linker version that makes clang pass the current flags.
set(fennick_link "-B${fennick_cross}/bin -fuse-ld=lld --ld-path=${fennick_ld64} -mlinker-version=711")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${fennick_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${fennick_link}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${fennick_link}")
# Configure-time checks compile only: the stubs hold what the library uses.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_FIND_ROOT_PATH ${fennick_sdk})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
