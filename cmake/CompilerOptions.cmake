# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra -Wshadow -Wconversion -Wsign-conversion)
if(SETUP_WARNINGS_AS_ERRORS)
  add_compile_options(-Werror)
endif()

if(SETUP_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# Coverage feedback from every library, not only from the fuzz targets' own files.
if(SETUP_BUILD_FUZZERS)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(WIN32)
  # 8-bit Windows API (the A functions) throughout; no min/max macros.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  if(MINGW)
    # One self-contained executable: no DLLs beyond the system's.
    add_link_options(-static -static-libgcc -static-libstdc++)
  endif()
endif()

# A library made of every source file in its folder, with the portable part and the
# platform part chosen by the build, never by #ifdef in the logic.
function(setup_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SYSTEM_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    file(GLOB platform_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.cpp)
  else()
    file(GLOB platform_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/posix/*.cpp)
  endif()
  if(sources OR platform_sources)
    add_library(${name} STATIC ${sources} ${platform_sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} ${ARG_SYSTEM_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()
