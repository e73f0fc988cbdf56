# The decorated names of FennickDLL's C++ functions and variables, as this
# compiler and C++ library spell them, for the programs that look them up
# by name (tests, tools, benchmarks): no file spells a mangled name.
#
# fennick_edition_symbols(TARGET LIST_FILE HEADER OUTPUT)
#   Compiles one probe that takes the address of every "fn" and "var" entry
#   of LIST_FILE as HEADER declares it, reads the probe's undefined symbols
#   with CMAKE_NM and writes OUTPUT, a header with one constant a name:
#     namespace decorated { constexpr const char GetFaceIDsVyx[] = "_Z..."; }
#   ("ns::name" becomes ns_name). TARGET is an interface library whose
#   users see OUTPUT, built before them.
#
# Run with cmake -P (-DNM -DOBJECTS -DLIST -DOUT) it does the reading part.

include(${CMAKE_CURRENT_LIST_DIR}/FennickExports.cmake)  # fennick_mangled_prefix

# Names HEADER declares only on some platforms: the condition they need.
set(fennick_symbol_guard_folder "!defined(_WIN32)")
set(fennick_symbol_guard_keyCodeToString "!defined(__APPLE__)")

# The "fn"/"var" entries of a list file: "kind;name;kind;name;...".
function(fennick_decorated_entries list_file out)
  file(STRINGS ${list_file} lines)
  set(entries "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(STRIP "${line}" line)
    if(line MATCHES "^(fn|var)[ \t]+([A-Za-z0-9_:]+)$")
      list(APPEND entries ${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
    endif()
  endforeach()
  set(${out} "${entries}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(COMMAND ${NM} -u ${OBJECTS} OUTPUT_VARIABLE listing
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${OBJECTS}")
  endif()
  # Last word of every line; Mach-O and 32-bit Windows put one '_' before
  # every name, so each is also tried without it.
  string(REGEX MATCHALL "[^ \t\n]+\n" words "${listing}\n")
  set(symbols "")
  foreach(w IN LISTS words)
    string(STRIP "${w}" w)
    list(APPEND symbols "${w}")
    if(w MATCHES "^_(.+)$")
      list(APPEND symbols "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES symbols)
  fennick_decorated_entries(${LIST} entries)
  set(body "")
  while(entries)
    list(POP_FRONT entries kind name)
    fennick_mangled_prefix(${name} prefix)
    set(found "")
    foreach(s IN LISTS symbols)
      if((kind STREQUAL "fn" AND s MATCHES "^${prefix}")
         OR (kind STREQUAL "var" AND (s STREQUAL name OR s MATCHES "^${prefix}B")))
        set(found "${s}")
        break()
      endif()
    endforeach()
    string(REPLACE "::" "_" id "${name}")
    if(found)
      string(APPEND body "constexpr const char ${id}[] = \"${found}\";\n")
    elseif(NOT DEFINED fennick_symbol_guard_${name})
      message(FATAL_ERROR "${LIST}: no symbol for '${kind} ${name}' in ${OBJECTS}")
    endif()
  endwhile()
  get_filename_component(list_name ${LIST} NAME)
  set(text "// Generated from ${list_name} (cmake/EditionSymbols.cmake): FennickDLL's\n")
  string(APPEND text "// decorated names as this compiler spells them.\n#pragma once\n\n")
  string(APPEND text "namespace decorated {\n${body}}  // namespace decorated\n")
  file(WRITE ${OUT}.new "${text}")
  file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
  file(REMOVE ${OUT}.new)
  return()
endif()

set(fennick_edition_symbols_script ${CMAKE_CURRENT_LIST_FILE})

function(fennick_edition_symbols target list_file header output)
  fennick_decorated_entries(${list_file} entries)
  # One variable a name holding its address (a pointer to member for
  # Class::member): the object refers to every symbol.
  set(probe "// Generated: refers to every decorated name of ${list_file}.\n")
  string(APPEND probe "#include \"${header}\"\n\n")
  set(i 0)
  while(entries)
    list(POP_FRONT entries kind name)
    set(ref "auto fennick_symbol_probe_${i} = &::${name};\n")
    if(DEFINED fennick_symbol_guard_${name})
      set(ref "#if ${fennick_symbol_guard_${name}}\n${ref}#endif\n")
    endif()
    string(APPEND probe "${ref}")
    math(EXPR i "${i} + 1")
  endwhile()
  set(probe_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_probe.cpp)
  file(CONFIGURE OUTPUT ${probe_file} CONTENT "${probe}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})

  add_library(${target}_probe OBJECT ${probe_file})
  target_link_libraries(${target}_probe PRIVATE FennickHeaders)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} "-DOBJECTS=$<TARGET_OBJECTS:${target}_probe>"
            -DLIST=${list_file} -DOUT=${output} -P ${fennick_edition_symbols_script}
    DEPENDS ${target}_probe $<TARGET_OBJECTS:${target}_probe> ${list_file}
            ${fennick_edition_symbols_script}
    COMMAND_EXPAND_LISTS VERBATIM)
  add_custom_target(${target}_header DEPENDS ${output})
  add_library(${target} INTERFACE)
  get_filename_component(dir ${output} DIRECTORY)
  target_include_directories(${target} INTERFACE ${dir})
  add_dependencies(${target} ${target}_header)
endfunction()
