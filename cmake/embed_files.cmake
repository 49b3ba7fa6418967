# Writes a C++ source that holds files as byte arrays, so data files (message catalogues) are part
# of the program. Called in script mode:
#   cmake -DOUTPUT=out.cpp -DHEADER=name.h -DENTRIES="symbol=path;symbol=path" -P embed_files.cmake
# Every file is checked as a catalogue first: a malformed one stops the build with its line.
include(${CMAKE_CURRENT_LIST_DIR}/check_catalogue.cmake)
set(content "// Generated from the files of messages/; do not edit.\n#include \"${HEADER}\"\n\n")
foreach(entry IN LISTS ENTRIES)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 symbol)
  list(GET pair 1 path)
  quillane_check_catalogue("${path}")
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND content "static const unsigned char ${symbol}_bytes[] = {\n${bytes}0};\n")
  string(APPEND content "extern const VCatalogueData ${symbol} = {reinterpret_cast<const char*>(${symbol}_bytes), ${size}};\n\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "${content}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
