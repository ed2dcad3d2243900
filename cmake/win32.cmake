# Cross build for Windows: one program per variant, the Windows tests.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
enable_language(RC)

file(GLOB_RECURSE QUELOR_APP_SOURCES CONFIGURE_DEPENDS
  src/platform/win32/*.cpp src/app/*.cpp src/app/*.rc)
# The entry (wWinMain) is kept apart so that the Windows tests link every
# other object of the program with their own main.
list(REMOVE_ITEM QUELOR_APP_SOURCES ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
add_library(quelor_app OBJECT ${QUELOR_APP_SOURCES})
target_include_directories(quelor_app PUBLIC src src/core)
target_compile_definitions(quelor_app PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(quelor_app PUBLIC quelor_core)
add_library(quelor_entry OBJECT src/app/main.cpp)
target_include_directories(quelor_entry PRIVATE src src/core)
target_compile_definitions(quelor_entry PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(QUELOR_WIN32_LIBS quelor_core user32 gdi32 comdlg32 winmm kernel32)

# The variant is a link-time constant: a two-line translation unit per variant,
# so the 18 programs cost one compile of the code and 18 links.
add_custom_target(all_variants)
set(_rows 0 Zelko31 Qyn31 3 Zelko38 Qyn38 4 Zelko34-3 Qyn34-3 7 Zelko38MK2 Qyn38MK2
          8 Zelko38-4 Qyn38-4 9 ZelkoCS-21 QynCS-21 -4 Zelko601 Qyn601
          -2 Zelko61LX2 Qyn61LX2 -1 Zelko61MK2 Qyn61MK2)
list(LENGTH _rows _n)
math(EXPR _last "${_n} - 1")
foreach(i RANGE 0 ${_last} 3)
  math(EXPR j "${i} + 1")
  math(EXPR k "${i} + 2")
  list(GET _rows ${i} type)
  list(GET _rows ${j} zelko_name)
  list(GET _rows ${k} qyn_name)
  foreach(nav 0 1)
    if(nav EQUAL 0)
      set(name ${zelko_name})
    else()
      set(name ${qyn_name})
    endif()
    set(tu ${CMAKE_BINARY_DIR}/variants/${name}.cpp)
    file(CONFIGURE OUTPUT ${tu} CONTENT
"// Generated: the build-time variant of ${name}.
extern const int kInstrumentType = ${type};
extern const int kNavigationMode = ${nav};
")
    add_executable(${name} WIN32 ${tu} $<TARGET_OBJECTS:quelor_app> $<TARGET_OBJECTS:quelor_entry>)
    target_link_options(${name} PRIVATE -municode)
    target_link_libraries(${name} PRIVATE ${QUELOR_WIN32_LIBS})
    add_dependencies(all_variants ${name})
    if(type EQUAL QUELOR_INSTRUMENT_TYPE AND nav EQUAL QUELOR_NAVIGATION_MODE)
      add_custom_target(program DEPENDS ${name})
      set(QUELOR_PROGRAM_NAME ${name} CACHE INTERNAL "")
    endif()
  endforeach()
endforeach()

# The command-line companion, cross-built.
# Its PNG images go through MinGW's zlib, linked statically (no zlib1.dll).
file(GLOB QUELOR_TOOL_SOURCES CONFIGURE_DEPENDS tools/quelor/*.cpp)
add_executable(quelor ${QUELOR_TOOL_SOURCES})
if(NOT TARGET ZLIB::ZLIB)
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
endif()
target_link_libraries(quelor PRIVATE quelor_core ZLIB::ZLIB)
include(${CMAKE_SOURCE_DIR}/cmake/build_info.cmake)
quelor_build_info(quelor)

# Windows tests: console programs built with GoogleTest from Debian's sources,
# run under Wine (CMAKE_CROSSCOMPILING_EMULATOR) by ctest.
file(GLOB_RECURSE QUELOR_WIN32_TESTS CONFIGURE_DEPENDS tests/win32/*.cpp)
list(FILTER QUELOR_WIN32_TESTS EXCLUDE REGEX "/tests/win32/serial/")
if(QUELOR_WIN32_TESTS AND EXISTS /usr/src/googletest/CMakeLists.txt)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_executable(win32_tests ${QUELOR_WIN32_TESTS} ${CMAKE_BINARY_DIR}/variants/Qyn31.cpp $<TARGET_OBJECTS:quelor_app>)
  target_include_directories(win32_tests PRIVATE src src/core)
  target_link_libraries(win32_tests PRIVATE ${QUELOR_WIN32_LIBS} gtest gmock)
  target_compile_definitions(win32_tests PRIVATE QUELOR_NO_WINMAIN UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_test(NAME win32_tests COMMAND win32_tests)
  set_tests_properties(win32_tests PROPERTIES TIMEOUT 300)
endif()

# Serial-port tests: a program of their own, run on pseudo-terminal pairs by
# tests/e2e/serial_ports.sh (the port tests skip themselves without them).
file(GLOB QUELOR_WIN32_SERIAL_TESTS CONFIGURE_DEPENDS tests/win32/serial/*.cpp)
if(QUELOR_WIN32_SERIAL_TESTS AND TARGET gtest)
  # Only the objects the serial code needs, so that it builds on its own.
  file(GLOB QUELOR_SERIAL_APP_SOURCES CONFIGURE_DEPENDS src/app/readers/*.cpp src/platform/win32/serial_*.cpp)
  add_executable(win32_serial_tests ${QUELOR_WIN32_SERIAL_TESTS} ${QUELOR_SERIAL_APP_SOURCES}
    src/app/app_state.cpp src/app/sound/sound_player.cpp src/platform/win32/message_dialog.cpp src/platform/win32/win32_clock.cpp
    ${CMAKE_BINARY_DIR}/variants/Qyn31.cpp)
  target_include_directories(win32_serial_tests PRIVATE src src/core)
  target_link_libraries(win32_serial_tests PRIVATE ${QUELOR_WIN32_LIBS} gtest)
  target_compile_definitions(win32_serial_tests PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# The window inspector of the end-to-end tests: lists a top-level window and
# its child windows as Wine sees them (child controls are no X windows).
add_executable(wininspect tests/e2e/wininspect.cpp)
target_compile_definitions(wininspect PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_options(wininspect PRIVATE -municode)
target_link_libraries(wininspect PRIVATE user32)

# Memory, GDI, USER and handle counts of a running program and its key
# response, for scripts/soak.
add_executable(wincounters tools/wincounters/wincounters.cpp)
target_compile_definitions(wincounters PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_options(wincounters PRIVATE -municode)
target_link_libraries(wincounters PRIVATE user32 psapi)
