# Checks that a message catalogue is well formed, so that a slip in a .msg file stops the build
# instead of leaving a message without text or with the text of its neighbour. Defines
# quillane_check_catalogue(PATH), which stops with "PATH:LINE: what is wrong" at the first fault.
#
# A catalogue is a sequence of entries: a line "MessageId=0x" with eight hexadecimal digits, the
# lines of the text, and a line holding a single '.'. Between entries only blank lines and
# comment lines ('#') may stand. Inside a text, a line that begins a new entry or a comment is the
# sign of an entry whose closing line was forgotten, and is refused as such.
cmake_policy(PUSH)
cmake_policy(SET CMP0057 NEW)  # if(IN_LIST)
function(quillane_check_catalogue path)
  file(READ "${path}" content)
  # Characters with a meaning in CMake lists are set aside first, so that every line of the file
  # is one element of the list, whatever it holds.
  string(ASCII 1 semicolon)
  string(ASCII 2 open)
  string(ASCII 3 close)
  string(ASCII 4 backslash)
  string(REPLACE ";" "${semicolon}" content "${content}")
  string(REPLACE "[" "${open}" content "${content}")
  string(REPLACE "]" "${close}" content "${content}")
  string(REPLACE "\\" "${backslash}" content "${content}")
  string(REPLACE "\r" "" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(number 0)
  set(inEntry FALSE)
  set(entryLine 0)
  set(entryId "")
  set(seen "")
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(inEntry)
      if(line STREQUAL ".")
        set(inEntry FALSE)
      elseif(line MATCHES "^MessageId=" OR line MATCHES "^#")
        message(FATAL_ERROR "${path}:${number}: the entry ${entryId} begun at line ${entryLine} "
                            "has no closing line holding a single '.' before this line")
      endif()
    elseif(line STREQUAL "" OR line MATCHES "^#")
      # blank or comment
    elseif(line MATCHES "^MessageId=0x([0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f])$")
      string(TOUPPER "${CMAKE_MATCH_1}" entryId)
      set(entryId "0x${entryId}")
      if(entryId IN_LIST seen)
        message(FATAL_ERROR "${path}:${number}: the id ${entryId} has a text already")
      endif()
      list(APPEND seen "${entryId}")
      set(inEntry TRUE)
      set(entryLine ${number})
    else()
      message(FATAL_ERROR "${path}:${number}: expected a line \"MessageId=0x\" followed by eight "
                          "hexadecimal digits, a comment or a blank line")
    endif()
  endforeach()
  if(inEntry)
    message(FATAL_ERROR "${path}:${entryLine}: the entry ${entryId} has no closing line holding "
                        "a single '.' before the end of the file")
  endif()
endfunction()
cmake_policy(POP)

# Script mode: cmake -DCATALOGUES="a.msg;b.msg" -P check_catalogue.cmake
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  foreach(catalogue IN LISTS CATALOGUES)
    quillane_check_catalogue("${catalogue}")
  endforeach()
endif()
