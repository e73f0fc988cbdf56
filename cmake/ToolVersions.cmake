# FENNICK_LLVM: the LLVM release named in tools/versions.sh, for the
# toolchain files (clang-${FENNICK_LLVM}, ld64.lld-${FENNICK_LLVM}, ...).
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../tools/versions.sh fennick_versions_line
     REGEX "^fennick_llvm=[0-9]+$")
string(REGEX REPLACE "^fennick_llvm=" "" FENNICK_LLVM "${fennick_versions_line}")
if(NOT FENNICK_LLVM)
  message(FATAL_ERROR "tools/versions.sh names no fennick_llvm")
endif()
