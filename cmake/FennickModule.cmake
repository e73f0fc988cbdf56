# fennick_module(NAME [SOURCES file...] [DEPS dep...])
# Builds the sources of the current folder as an object library NAME.
# Platform files are chosen by suffix: *_win.cpp (Windows), *_posix.cpp
# (any POSIX system), *_linux.cpp (POSIX but not Apple: stand-ins for
# desktop services), *_mac.mm (Apple only). Everything else builds everywhere.
# SOURCES makes a unit of its own from those files of the folder (an
# operation beside an export layer); a later call without SOURCES in the
# same folder takes the other files.
# Every module sees the editions' public headers, and a function or
# variable defined outside an anonymous namespace without a declaration
# seen first is an error: what a header declares, the definition must match.
function(fennick_module name)
  cmake_parse_arguments(FM "" "" "SOURCES;DEPS" ${ARGN})
  if(FM_SOURCES)
    list(TRANSFORM FM_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    set_property(DIRECTORY APPEND PROPERTY FENNICK_UNIT_SOURCES ${FM_SOURCES})
    set(all_sources ${FM_SOURCES})
  else()
    file(GLOB all_sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.mm)
    get_property(taken DIRECTORY PROPERTY FENNICK_UNIT_SOURCES)
    if(taken)
      list(REMOVE_ITEM all_sources ${taken})
    endif()
  endif()
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
  add_library(${name} OBJECT ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC FennickHeaders)
  target_compile_options(${name} PRIVATE
    $<$<COMPILE_LANG_AND_ID:CXX,GNU>:-Werror=missing-declarations>
    $<$<COMPILE_LANG_AND_ID:CXX,Clang,AppleClang>:-Werror=missing-prototypes -Werror=missing-variable-declarations>
    $<$<COMPILE_LANG_AND_ID:OBJCXX,Clang,AppleClang>:-Werror=missing-prototypes -Werror=missing-variable-declarations>)
  foreach(dep IN LISTS FM_DEPS)
    target_link_libraries(${name} PUBLIC ${dep})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY FENNICK_MODULES ${name})
endfunction()

# Links the object libraries of every module in the list that exists.
function(fennick_link_modules target)
  foreach(m IN LISTS ARGN)
    if(TARGET ${m})
      # A direct link of an object library adds its objects to the target.
      target_link_libraries(${target} PRIVATE ${m})
    endif()
  endforeach()
endfunction()
