# Turns the pixel-format name table (tab-separated "name<TAB>0xCODE" lines
# under a header line) into C++ initialiser rows, so that the table file stays
# the only place where a name or code is written down.
#
# Usage: cmake -DPFNC_TABLE=<pfnc.tsv> -DPFNC_OUTPUT=<pfnctable.inc> -P GeneratePfncTable.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT PFNC_TABLE OR NOT PFNC_OUTPUT)
  message(FATAL_ERROR "PFNC_TABLE and PFNC_OUTPUT must be given")
endif()

file(STRINGS ${PFNC_TABLE} lines)
list(POP_FRONT lines header)
if(NOT header STREQUAL "name\tcode")
  message(FATAL_ERROR "${PFNC_TABLE}: unexpected header line '${header}'")
endif()

set(rows "")
set(seen_names "")
set(seen_codes "")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([A-Za-z][A-Za-z0-9_]*)\t(0x[0-9A-Fa-f]+)$")
    message(FATAL_ERROR "${PFNC_TABLE}: malformed line '${line}'")
  endif()
  set(name ${CMAKE_MATCH_1})
  string(TOUPPER ${CMAKE_MATCH_2} code)
  string(REPLACE "0X" "0x" code ${code})
  if(name IN_LIST seen_names OR code IN_LIST seen_codes)
    message(FATAL_ERROR "${PFNC_TABLE}: '${name}' or ${code} appears twice")
  endif()
  list(APPEND seen_names ${name})
  list(APPEND seen_codes ${code})
  string(APPEND rows "    {${code}u, \"${name}\"},\n")
endforeach()

get_filename_component(table_name ${PFNC_TABLE} NAME)
set(content "// Generated from ${table_name}; edit that file instead.\n${rows}")
# Rewrite only on change so that an unchanged table does not force a rebuild.
if(EXISTS ${PFNC_OUTPUT})
  file(READ ${PFNC_OUTPUT} previous)
  if(previous STREQUAL content)
    return()
  endif()
endif()
file(WRITE ${PFNC_OUTPUT} "${content}")
