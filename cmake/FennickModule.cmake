# Every module folder of the tree, in the order they depend on each other.
# Each edition names the ones it carries (fennick_edition); the fuzz build
# and the unit suites take them all.
set(FENNICK_MODULES TextOps FileOps VyXOps leanOBJ ColladaOps SculptyOps
    AddCocoa desktop_win)

# Units of their own beside an export layer, in its folder (FOLDER/NAME for
# FOLDER/NAME.cpp): operations (ScaleUVs, RunLength, NameSet) and the
# FennickDLL tables of C++ names that the unit suites call (table_*). The
# edition of that folder links each as object library NAME, and so do the
# unit suites and the fuzz build, without the rest of the export layer.
set(FENNICK_UNITS Mobrel01/ScaleUVs Mobrel01/table_collada Mobrel01/table_sculpty
    Mobrel01/table_obj exports02/RunLength exports02/NameSet)

# The folders of the editions' public headers, FennickDLL.h and
# FennickDLL02.h: the manual the code is held to. Only the export layers
# (and what sits beside them in their folders), the tests and the tools see
# them (FennickHeaders); a module folder's sources cannot include them, so
# a module's API is its own header.
set(FENNICK_PUBLIC_HEADER_DIRS Mobrel01 exports02)

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

# fennick_module(NAME [SOURCES file...] [DEPS dep...])
# Builds the current folder's sources for this platform (or the SOURCES
# given) as an object library NAME. A function or variable it defines
# outside an anonymous namespace without a declaration seen first is an
# error: a definition must match what its header declares.
function(fennick_module name)
  cmake_parse_arguments(FM "" "" "SOURCES;DEPS" ${ARGN})
  if(FM_SOURCES)
    set(sources ${FM_SOURCES})
  else()
    fennick_platform_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  add_library(${name} OBJECT ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE
    $<$<COMPILE_LANG_AND_ID:CXX,GNU>:-Werror=missing-declarations>
    $<$<COMPILE_LANG_AND_ID:CXX,Clang,AppleClang>:-Werror=missing-prototypes -Werror=missing-variable-declarations>
    $<$<COMPILE_LANG_AND_ID:OBJCXX,Clang,AppleClang>:-Werror=missing-prototypes -Werror=missing-variable-declarations>)
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
# One edition: its export layer (the current folder, object library LAYER),
# the units of FENNICK_UNITS in this folder and the modules it carries,
# linked into the plug-in NAME (no "lib" prefix), exporting exactly the
# names of LIST.
function(fennick_edition name)
  cmake_parse_arguments(FE "" "LAYER;LIST" "MODULES" ${ARGN})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  fennick_platform_sources(layer_sources ${CMAKE_CURRENT_SOURCE_DIR})
  set(units "")
  foreach(entry IN LISTS FENNICK_UNITS)
    get_filename_component(unit_folder ${entry} DIRECTORY)
    if(unit_folder STREQUAL folder)
      get_filename_component(unit ${entry} NAME)
      set(unit_source ${CMAKE_CURRENT_SOURCE_DIR}/${unit}.cpp)
      fennick_module(${unit} SOURCES ${unit_source} DEPS ${FE_MODULES} FennickHeaders)
      list(REMOVE_ITEM layer_sources ${unit_source})
      list(APPEND units ${unit})
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY FENNICK_BUILT_UNITS ${units})
  fennick_module(${FE_LAYER} SOURCES ${layer_sources} DEPS ExportCore FennickHeaders)
  fennick_link_modules(${FE_LAYER} ${FE_MODULES} ${units})
  add_library(${name} SHARED)
  fennick_link_modules(${name} ${FE_LAYER} ${units} ${FE_MODULES})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  fennick_export_list(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${FE_LIST})
  if(NOT WIN32 AND NOT APPLE)
    set_target_properties(${name} PROPERTIES SUFFIX ".so")
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  # An edition carries only what its exports reach: a module's code that
  # another edition alone calls is dropped (sections per function and
  # object on ELF, see the top CMakeLists.txt; Mach-O splits at every
  # symbol). Not on Windows: GNU ld keeps every function that has unwind
  # data (.pdata, .eh_frame), so the DLL would only grow.
  if(APPLE)
    target_link_options(${name} PRIVATE LINKER:-dead_strip)
  elseif(NOT WIN32)
    target_link_options(${name} PRIVATE LINKER:--gc-sections)
  endif()
endfunction()
