# Checks that the code keeps its layers: cmake -DSOURCE_DIR=<tree> -DLAYERS_FILE=<map> -P this.
#
# The map names the layer folders, their rank (lowest 0) and the folders each one links. A link
# must go to a lower rank, so folders of equal rank (the hosts and vextool) never use each other;
# an include, quoted or angled, may name only the folder itself or one it reaches through its
# links. The headers of one system's platform part (platform/posix, platform/win32) are for
# platform/ alone, and for the host built only for that system (LAYER_SYSTEM_<folder>). Every
# top-level folder that holds code must be named by the map, as a layer or as outside them.
cmake_minimum_required(VERSION 3.25)
include(${LAYERS_FILE})

set(code_globs *.h *.cpp *.rc)

function(reach folder out)
  set(seen "")
  set(todo ${LAYER_LINKS_${folder}})
  while(todo)
    list(POP_FRONT todo next)
    if(NOT next IN_LIST seen)
      list(APPEND seen ${next})
      list(APPEND todo ${LAYER_LINKS_${next}})
    endif()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# The lines of a file as a list, one element per line whatever the text holds: '[' ']' '\' and
# ';' would otherwise join or split elements, so they are stood in for by control characters.
string(ASCII 1 open_stand_in)
string(ASCII 2 close_stand_in)
string(ASCII 3 backslash_stand_in)
string(ASCII 4 semicolon_stand_in)
function(read_lines path out)
  file(READ ${path} text)
  string(REPLACE "\\" "${backslash_stand_in}" text "${text}")
  string(REPLACE "[" "${open_stand_in}" text "${text}")
  string(REPLACE "]" "${close_stand_in}" text "${text}")
  string(REPLACE ";" "${semicolon_stand_in}" text "${text}")
  string(REPLACE "\n" ";" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(faults "")

file(GLOB top_entries LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(entry IN LISTS top_entries)
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/${entry} OR entry MATCHES "^\\."
     OR entry IN_LIST LAYER_FOLDERS OR entry IN_LIST LAYER_OUTSIDE_FOLDERS)
    continue()
  endif()
  list(TRANSFORM code_globs PREPEND ${SOURCE_DIR}/${entry}/ OUTPUT_VARIABLE globs)
  file(GLOB_RECURSE code LIST_DIRECTORIES false ${globs})
  if(code)
    list(APPEND faults "${entry}/ holds code but is named by no layer")
  endif()
endforeach()

set(checked 0)
foreach(folder IN LISTS LAYER_FOLDERS)
  foreach(link IN LISTS LAYER_LINKS_${folder})
    if(NOT LAYER_RANK_${link} LESS LAYER_RANK_${folder})
      list(APPEND faults "${folder} links ${link}, which is not below it")
    endif()
  endforeach()

  reach(${folder} reachable)
  list(TRANSFORM code_globs PREPEND ${SOURCE_DIR}/${folder}/ OUTPUT_VARIABLE globs)
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${SOURCE_DIR} ${globs})
  list(SORT files)
  foreach(file IN LISTS files)
    math(EXPR checked "${checked} + 1")
    read_lines(${SOURCE_DIR}/${file} lines)
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*(\"([^\"]*)\"|<([^>]*)>)")
        continue()
      endif()
      set(included "${CMAKE_MATCH_2}${CMAKE_MATCH_3}")
      string(REPLACE "${backslash_stand_in}" "\\" included "${included}")
      if(included MATCHES "(^|[/\\])\\.\\.([/\\]|$)")
        list(APPEND faults "${file}:${number}: \"${included}\" climbs out of its folder")
        continue()
      endif()
      if(NOT included MATCHES "^([^/\\]+)[/\\]")
        continue()  # beside the including file, or a system header
      endif()
      set(target ${CMAKE_MATCH_1})
      if(NOT target IN_LIST LAYER_FOLDERS AND NOT target IN_LIST LAYER_OUTSIDE_FOLDERS)
        continue()  # a library's header, or one in a folder beside the including file
      endif()
      if(included MATCHES "^platform[/\\](posix|win32)[/\\]" AND NOT folder STREQUAL "platform"
         AND NOT LAYER_SYSTEM_${folder} STREQUAL CMAKE_MATCH_1)
        list(APPEND faults
             "${file}:${number}: \"${included}\": only platform/ uses one system's headers")
        continue()
      endif()
      if(target STREQUAL folder OR target IN_LIST reachable)
        continue()
      endif()
      list(APPEND faults "${file}:${number}: \"${included}\": ${folder} does not depend on ${target}")
    endforeach()
  endforeach()
endforeach()

if(faults)
  foreach(fault IN LISTS faults)
    message(NOTICE "${fault}")
  endforeach()
  list(LENGTH faults count)
  message(FATAL_ERROR "${count} breaks of the layers")
endif()
message(STATUS "layers kept by ${checked} files")
