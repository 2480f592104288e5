# Writes a C header for every format description in DATA_DIR with VEXTOOL and compiles it, as
# C++ and as C11, with COMPILER (the i686 mingw-w64 compiler), and as C++ with HOST_COMPILER
# (whose 64-bit layout of fixed-width types matches): each static_assert must hold.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

function(compile header expect_success)
  foreach(language "c++;-std=c++17;${COMPILER}" "c;-std=c11;${COMPILER}"
                   "c++;-std=c++17;${HOST_COMPILER}")
    list(GET language 0 name)
    list(GET language 1 standard)
    list(GET language 2 compiler)
    file(WRITE ${WORK_DIR}/include_${name}.src "#include \"${header}\"\n")
    execute_process(
      COMMAND ${compiler} -fsyntax-only -Werror -x ${name} ${standard} ${WORK_DIR}/include_${name}.src
      WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE result ERROR_VARIABLE errors)
    if(expect_success AND NOT result EQUAL 0)
      message(FATAL_ERROR "${header} does not compile as ${name} (${compiler}):\n${errors}")
    elseif(NOT expect_success AND result EQUAL 0)
      message(FATAL_ERROR "${header} compiles as ${name} although an assertion is wrong")
    endif()
  endforeach()
endfunction()

file(GLOB samples ${DATA_DIR}/*.fmt)
list(LENGTH samples count)
if(count EQUAL 0)
  message(FATAL_ERROR "no format descriptions in ${DATA_DIR}")
endif()
# vextool keeps its setup log in its current directory: a folder of its own, removed afterwards.
file(MAKE_DIRECTORY ${WORK_DIR}/vextool)
foreach(sample ${samples})
  get_filename_component(name ${sample} NAME_WE)
  execute_process(COMMAND ${VEXTOOL} fmt header ${sample} WORKING_DIRECTORY ${WORK_DIR}/vextool
    OUTPUT_FILE ${WORK_DIR}/${name}.h RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "vextool fmt header ${sample} failed:\n${errors}")
  endif()
  compile(${name}.h TRUE)
  message(STATUS "${name}: every assertion holds")
endforeach()
file(REMOVE_RECURSE ${WORK_DIR}/vextool)

# The check itself: one offset off by one must make the compiler refuse the header.
file(READ ${WORK_DIR}/${name}.h header)
string(REGEX REPLACE "(offsetof\\([^)]*\\) == )([0-9]+)" "\\1\\2 + 1" wrong "${header}")
file(WRITE ${WORK_DIR}/wrong.h "${wrong}")
compile(wrong.h FALSE)
