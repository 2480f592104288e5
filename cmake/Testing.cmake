# GoogleTest: the system's build natively, the sources in /usr/src/googletest for cross builds.
if(SETUP_BUILD_TESTS)
  if(CMAKE_CROSSCOMPILING)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # Its own sources are not held to this project's conversion warnings.
    foreach(target gtest gtest_main gmock gmock_main)
      target_compile_options(${target} PRIVATE -Wno-conversion -Wno-sign-conversion)
    endforeach()
  else()
    find_package(GTest REQUIRED)
  endif()
endif()

# One test executable per subsystem: every *.cpp of the calling folder, run shuffled.
function(setup_add_test name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    file(GLOB platform_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.cpp)
  else()
    file(GLOB platform_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/posix/*.cpp)
  endif()
  if(NOT sources AND NOT platform_sources)
    return()  # every test of the suite belongs to the other system
  endif()
  add_executable(${name} ${sources} ${platform_sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} test_support GTest::gtest GTest::gmock test_main)
  # In an order of its own every run (the seed is in the output): a test that leans on another's
  # state fails here rather than on the day the order changes.
  add_test(NAME ${name} COMMAND ${name} --gtest_shuffle)
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
endfunction()
