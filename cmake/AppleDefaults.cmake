# macOS defaults: architectures x86_64 unless the user names them (a cache
# entry, so -DCMAKE_OSX_ARCHITECTURES="x86_64;arm64" builds one universal
# dylib), and a deployment target unless the user gives one (-D or the
# MACOSX_DEPLOYMENT_TARGET environment variable): 10.13, or 11.0 for arm64
# alone. In a universal build the compiler raises the arm64 slice to 11.0,
# the first macOS on Apple silicon.
# Applied before project(), where CMake wants them, when the host is a Mac or
# the system is named on the command line, and again after it for a toolchain
# file that names Darwin (project() reads that file).
macro(fennick_apple_defaults)
  if(NOT CMAKE_OSX_ARCHITECTURES)
    set(CMAKE_OSX_ARCHITECTURES x86_64 CACHE STRING
        "macOS architectures: x86_64, arm64 or \"x86_64;arm64\"" FORCE)
  endif()
  if(NOT CMAKE_OSX_DEPLOYMENT_TARGET)
    if(NOT "$ENV{MACOSX_DEPLOYMENT_TARGET}" STREQUAL "")
      set(CMAKE_OSX_DEPLOYMENT_TARGET "$ENV{MACOSX_DEPLOYMENT_TARGET}" CACHE STRING
          "Oldest macOS the library runs on" FORCE)
    elseif(CMAKE_OSX_ARCHITECTURES STREQUAL "arm64")
      set(CMAKE_OSX_DEPLOYMENT_TARGET 11.0 CACHE STRING "Oldest macOS the library runs on" FORCE)
    else()
      set(CMAKE_OSX_DEPLOYMENT_TARGET 10.13 CACHE STRING "Oldest macOS the library runs on" FORCE)
    endif()
  endif()
endmacro()
