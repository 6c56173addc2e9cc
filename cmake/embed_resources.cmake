# Turns the game's resource files into a C++ source holding each as a byte array, with the table
# kGameResources that addresses them by number (see src/shell/soft/resource_table.h).
#
# Run as a script:
#   cmake -DRESOURCE_DIR=<dir> -DRESOURCES=<list> -DOUTPUT=<file.cpp> -P embed_resources.cmake
# RESOURCES holds entries "number:Kind:file" separated by commas, Kind being Bitmap or Wave.
#
# A bitmap is stored without its 14-byte file header, as a Windows bitmap resource holds it: the
# 40-byte BITMAPINFOHEADER followed by the rows. A wave is stored whole, as a RIFF image.

foreach(required RESOURCE_DIR RESOURCES OUTPUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "embed_resources.cmake: ${required} is not set")
  endif()
endforeach()

string(REPLACE "," ";" entries "${RESOURCES}")

set(arrays "")
set(table "")
set(index 0)
foreach(entry IN LISTS entries)
  string(REPLACE ":" ";" fields "${entry}")
  list(LENGTH fields field_count)
  if(NOT field_count EQUAL 3)
    message(FATAL_ERROR "embed_resources.cmake: bad entry '${entry}', want number:Kind:file")
  endif()
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
  else()
    message(FATAL_ERROR "embed_resources.cmake: unknown kind '${kind}' in '${entry}'")
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

set(source "// Generated from res/ by cmake/embed_resources.cmake. Do not edit.
#include \"shell/soft/resource_table.h\"

namespace {

${arrays}const ResourceEntry kEntries[] = {
${table}};

}  // namespace

// Constant-initialised, so it is ready before any other static initialiser runs.
constinit const ResourceTable kGameResources{kEntries};
")

file(WRITE "${OUTPUT}" "${source}")
