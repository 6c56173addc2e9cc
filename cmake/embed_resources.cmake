# The game's resources as res/game.rc lists them, turned into a C++ source holding each file as a
# byte array, with the table kGameResources that addresses them by number (see
# src/shell/soft/resource_table.h). game.rc is the one list: the Windows build compiles it with
# windres, the other builds embed what it names.
#
# Included, it defines the functions that read the script; run as a script it writes the table:
#   cmake -DRESOURCE_SCRIPT=<game.rc> -DOUTPUT=<file.cpp> -P embed_resources.cmake
#
# A bitmap is stored without its 14-byte file header, as a Windows bitmap resource holds it: the
# 40-byte BITMAPINFOHEADER followed by the rows. A wave is stored whole, as a RIFF image.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)  # as the project: the function below keeps these policies
endif()

# Reads a resource script of `NUMBER BITMAP "file"` and `NUMBER WAVE "file"` lines, with blank
# lines and // comments between them, into a list of "number:Kind:file" entries (Kind Bitmap or
# Wave). Anything else in the script is an error, so the two builds can never read it differently.
function(quarvelingdrome_read_resource_script script out_var)
  file(STRINGS "${script}" lines)
  set(entries "")
  set(numbers "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^//")
      continue()
    endif()
    if(NOT line MATCHES "^([0-9]+)[ \t]+(BITMAP|WAVE)[ \t]+\"([^\"]+)\"$")
      message(FATAL_ERROR "${script}: a line this build cannot read: ${line}")
    endif()
    set(number "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_3}")
    if(CMAKE_MATCH_2 STREQUAL "BITMAP")
      set(kind Bitmap)
    else()
      set(kind Wave)
    endif()
    if(number IN_LIST numbers)
      message(FATAL_ERROR "${script}: the number ${number} is given twice")
    endif()
    list(APPEND numbers "${number}")
    list(APPEND entries "${number}:${kind}:${name}")
  endforeach()
  if(entries STREQUAL "")
    message(FATAL_ERROR "${script} names no resources")
  endif()
  set(${out_var} "${entries}" PARENT_SCOPE)
endfunction()

# The files a resource script names, with their full paths: what a build of it depends on.
function(quarvelingdrome_resource_files script out_var)
  quarvelingdrome_read_resource_script("${script}" entries)
  get_filename_component(dir "${script}" DIRECTORY)
  set(files "")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^[0-9]+:[A-Za-z]+:" "" name "${entry}")
    list(APPEND files "${dir}/${name}")
  endforeach()
  set(${out_var} "${files}" PARENT_SCOPE)
endfunction()

if(NOT CMAKE_SCRIPT_MODE_FILE)
  return()
endif()

foreach(required RESOURCE_SCRIPT OUTPUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "embed_resources.cmake: ${required} is not set")
  endif()
endforeach()

quarvelingdrome_read_resource_script("${RESOURCE_SCRIPT}" entries)
# The script names its files relative to its own folder.
get_filename_component(RESOURCE_DIR "${RESOURCE_SCRIPT}" DIRECTORY)

set(arrays "")
set(table "")
set(index 0)
foreach(entry IN LISTS entries)
  string(REPLACE ":" ";" fields "${entry}")
  list(GET fields 0 number)
  list(GET fields 1 kind)
  list(GET fields 2 name)
  set(path "${RESOURCE_DIR}/${name}")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "embed_resources.cmake: ${path} is missing")
  endif()

  file(READ "${path}" magic LIMIT 4 HEX)
  if(kind STREQUAL "Bitmap")
    if(NOT magic MATCHES "^424d")  # "BM"
      message(FATAL_ERROR "embed_resources.cmake: ${path} is not a bitmap file")
    endif()
    set(offset 14)
  elseif(kind STREQUAL "Wave")
    if(NOT magic STREQUAL "52494646")  # "RIFF"
      message(FATAL_ERROR "embed_resources.cmake: ${path} is not a RIFF file")
    endif()
    set(offset 0)
  endif()

  file(READ "${path}" hex OFFSET ${offset} HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  # As a string literal of hex escapes, 32 bytes to a line: compilers read one long literal far
  # faster than a list of a million numbers. The array keeps room for the literal's closing NUL,
  # which is not part of the resource.
  string(REGEX REPLACE "(................................................................)" "\\1\n"
         lines "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "%x\\1" lines "${lines}")
  string(REPLACE "%" "\\" lines "${lines}")
  string(REGEX REPLACE "\n$" "" lines "${lines}")
  string(REPLACE "\n" "\"\n    \"" lines "${lines}")
  math(EXPR storage "${size} + 1")

  string(APPEND arrays "// ${name}\nconst unsigned char kResource${index}[${storage}] =\n    \"${lines}\";\n\n")
  string(APPEND table "    {${number}, ResourceKind::${kind}, kResource${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()

set(source "// Generated from res/game.rc by cmake/embed_resources.cmake. Do not edit.
#include \"shell/soft/resource_table.h\"

namespace {

${arrays}const ResourceEntry kEntries[] = {
${table}};

}  // namespace

// Constant-initialised, so it is ready before any other static initialiser runs.
constinit const ResourceTable kGameResources{kEntries};
")

file(WRITE "${OUTPUT}" "${source}")
