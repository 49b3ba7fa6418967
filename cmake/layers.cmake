# The library is built from one object library per source folder. Each folder compiles against a
# view of src/ that holds only the folders it may use, so an include that points up a layer (or
# sideways into a folder it should not know) fails to compile instead of slipping through.

set(QUILLANE_LAYER_TARGETS "")

# quillane_layer(FOLDER folder USES folder...): the folder's sources as an object library that
# sees itself and the folders it uses.
function(quillane_layer)
  cmake_parse_arguments(LAYER "" "FOLDER" "USES;SOURCES;LINK" ${ARGN})
  string(REPLACE "/" "_" name "${LAYER_FOLDER}")
  set(target quillane_${name})
  set(view ${CMAKE_BINARY_DIR}/layer_views/${name})
  file(REMOVE_RECURSE ${view})
  foreach(allowed IN LISTS LAYER_USES ITEMS ${LAYER_FOLDER})
    get_filename_component(parent ${view}/${allowed} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${view}/${allowed})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${allowed} ${view}/${allowed} SYMBOLIC)
    endif()
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${LAYER_FOLDER}/*.cpp)
  add_library(${target} OBJECT ${sources} ${LAYER_SOURCES})
  target_include_directories(${target} PRIVATE ${view})
  target_include_directories(${target} SYSTEM PRIVATE ${RAPIDXML_INCLUDE_DIR})
  target_compile_options(${target} PRIVATE ${QUILLANE_WARNINGS})
  target_link_libraries(${target} PRIVATE PkgConfig::CRYPTOPP Threads::Threads ${LAYER_LINK})
  set(QUILLANE_LAYER_TARGETS ${QUILLANE_LAYER_TARGETS} ${target} PARENT_SCOPE)
endfunction()
