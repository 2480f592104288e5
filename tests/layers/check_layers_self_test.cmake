# The checker must fail on the fixture and name every break of its layers, and only those.
execute_process(
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${FIXTURE} -DLAYERS_FILE=${FIXTURE}/layers.cmake
          -P ${CHECKER}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "the checker passed a tree that breaks the layers:\n${output}")
endif()
set(expected
  "tools links console, which is not below it"
  "base/log.h:3: \"app/sequencer.h\": base does not depend on app"
  "app/sequencer.cpp:2: \"../base/log.h\" climbs out of its folder"
  "app/sequencer.cpp:3: \"tests/support/recorder.h\": app does not depend on tests"
  "console/host.cpp:2: \"tools/commands.h\": console does not depend on tools"
  "base/bracket.cpp:2: \"console/host.h\": base does not depend on console"
  "app/angled.cpp:3: \"console/host.h\": app does not depend on console"
  "extras/ holds code but is named by no layer"
  "app/volume.cpp:1: \"platform/posix/volume.h\": only platform/ uses one system's headers"
  "console/main.cpp:2: \"platform/win32/window.h\": only platform/ uses one system's headers"
  "10 breaks of the layers")
foreach(line IN LISTS expected)
  string(FIND "${output}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the checker did not report: ${line}\nIt said:\n${output}")
  endif()
endforeach()
