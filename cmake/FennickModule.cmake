# Every module folder of the tree, in the order they depend on each other.
# Each edition names the ones it carries (fennick_edition); the fuzz build
# and the unit suites take them all.
set(FENNICK_MODULES TextOps FileOps VyXOps leanOBJ ColladaOps SculptyOps
    AddCocoa desktop_win)

# fennick_platform_sources(OUT DIR)
# The sources of DIR this platform builds, chosen by suffix: *_win.cpp
# (Windows), *_posix.cpp (any POSIX system), *_linux.cpp (POSIX but not
# Apple: stand-ins for desktop services), *_mac.mm (Apple only). Everything
# else builds everywhere.
function(fennick_platform_sources out dir)
  file(GLOB all_sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.mm)
  set(sources "")
  foreach(src IN LISTS all_sources)
    if(src MATCHES "_win\\.cpp$")
      if(WIN32)
        list(APPEND sources ${src})
      endif()
    elseif(src MATCHES "_posix\\.cpp$")
      if(UNIX)
        list(APPEND sources ${src})
      endif()
    elseif(src MATCHES "_linux\\.cpp$")
      if(UNIX AND NOT APPLE)
        list(APPEND sources ${src})
      endif()
    elseif(src MATCHES "\\.mm$")
      if(APPLE)
        list(APPEND sources ${src})
      endif()
    else()
      list(APPEND sources ${src})
    endif()
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# fennick_module(NAME [DEPS dep...])
# Builds the current folder's sources for this platform as an object
# library NAME.
function(fennick_module name)
  cmake_parse_arguments(FM "" "" "DEPS" ${ARGN})
  fennick_platform_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
  add_library(${name} OBJECT ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(dep IN LISTS FM_DEPS)
    target_link_libraries(${name} PUBLIC ${dep})
  endforeach()
endfunction()

# Links the objects of every module in the list (a direct link of an object
# library adds its objects to the target). A missing module is an error.
function(fennick_link_modules target)
  foreach(m IN LISTS ARGN)
    if(NOT TARGET ${m})
      message(FATAL_ERROR "${target}: no module ${m} (is it in FENNICK_MODULES?)")
    endif()
    target_link_libraries(${target} PRIVATE ${m})
  endforeach()
endfunction()

# fennick_edition(NAME LAYER layer LIST list-file MODULES module...)
# One edition: its export layer (the current folder, object library LAYER)
# and the modules it carries, linked into the plug-in NAME (no "lib"
# prefix), exporting exactly the names of LIST.
function(fennick_edition name)
  cmake_parse_arguments(FE "" "LAYER;LIST" "MODULES" ${ARGN})
  fennick_module(${FE_LAYER} DEPS ExportCore)
  fennick_link_modules(${FE_LAYER} ${FE_MODULES})
  add_library(${name} SHARED)
  fennick_link_modules(${name} ${FE_LAYER} ${FE_MODULES})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  fennick_export_list(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${FE_LIST})
  if(NOT WIN32 AND NOT APPLE)
    set_target_properties(${name} PROPERTIES SUFFIX ".so")
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()
