# Native build: the core's unit tests, the command-line tools and benchmarks.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)
include(GoogleTest)

# One test program per folder of tests/unit (unit_<folder>), linked with the
# core area of the same name when there is one, with the areas listed in
# QUELOR_UNIT_AREAS_<folder> when set, else with the whole core.
set(QUELOR_UNIT_AREAS_devsim core_variant core_serial core_gps core_procedures)
set(QUELOR_UNIT_AREAS_sound core_sound core_survey core_gps)
set(QUELOR_UNIT_AREAS_reading quelor_core devsim_lib)
# What every unit test program is compiled and linked with.
function(quelor_unit_settings target)
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
  target_compile_definitions(${target} PRIVATE
    QUELOR_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    QUELOR_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared"
    QUELOR_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # Under the sanitizers the test files themselves are not optimised: they
  # are half of that build's compiling, and the core they test keeps its -O1.
  if(QUELOR_SANITIZE)
    target_compile_options(${target} PRIVATE -O0)
  endif()
endfunction()
# The headers nearly every test file includes, parsed once for all the test
# programs (the test framework's header alone is over half of a test file's
# compile time). Clang only: GCC 12 at -O2 sees out-of-bounds copies inside
# std::string's own code in test files compiled with it (-Warray-bounds).
set(QUELOR_UNIT_PCH OFF)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(QUELOR_UNIT_PCH ON)
endif()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/unit_pch.cpp CONTENT "// Anchors the test programs' precompiled header.\n")
add_library(unit_pch OBJECT ${CMAKE_BINARY_DIR}/unit_pch.cpp)
quelor_unit_settings(unit_pch)
target_include_directories(unit_pch PRIVATE ${CMAKE_SOURCE_DIR}/src/core)
if(QUELOR_UNIT_PCH)
  target_precompile_headers(unit_pch PRIVATE
    <gtest/gtest.h> <algorithm> <cmath> <functional> <map> <optional> <random> <set> <sstream> <string>
    <string_view> <vector>)
endif()

function(quelor_unit_tests name sources)
  # The test files that start threads give the program the label `threads`
  # (ctest -L threads). Under ThreadSanitizer (preset tsan) the program is
  # made of those files alone, with the folder's helpers that are no tests,
  # and built by the target threads_tests. Not the simulator's (devsim): its
  # session test would need nearly the whole core built under the sanitizer
  # (the simulator writes the truth GeoTIFF).
  set(threaded "")
  if(NOT name STREQUAL "devsim")
    foreach(src ${sources})
      file(STRINGS ${src} starts_threads REGEX "std::(j?thread|async)[ ({<]" LIMIT_COUNT 1)
      if(starts_threads)
        list(APPEND threaded ${src})
      endif()
    endforeach()
  endif()
  if(QUELOR_SANITIZE_THREADS)
    if(NOT threaded)
      return()
    endif()
    list(FILTER sources EXCLUDE REGEX "_test\\.cpp$")
    list(APPEND sources ${threaded})
  endif()
  add_executable(unit_${name} ${sources})
  if(DEFINED QUELOR_UNIT_AREAS_${name})
    target_link_libraries(unit_${name} PRIVATE ${QUELOR_UNIT_AREAS_${name}})
  elseif(TARGET core_${name})
    target_link_libraries(unit_${name} PRIVATE core_${name})
  else()
    target_link_libraries(unit_${name} PRIVATE quelor_core)
  endif()
  quelor_unit_settings(unit_${name})
  if(QUELOR_UNIT_PCH)
    target_precompile_headers(unit_${name} REUSE_FROM unit_pch)
  endif()
  set(labels "")
  if(threaded)
    set(labels LABELS threads)
    add_dependencies(threads_tests unit_${name})
  endif()
  gtest_discover_tests(unit_${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 ${labels})
endfunction()
add_custom_target(threads_tests)

file(GLOB QUELOR_UNIT_TOP CONFIGURE_DEPENDS tests/unit/*.cpp)
if(QUELOR_UNIT_TOP)
  quelor_unit_tests(core "${QUELOR_UNIT_TOP}")
endif()
file(GLOB QUELOR_UNIT_DIRS LIST_DIRECTORIES true CONFIGURE_DEPENDS tests/unit/*)
foreach(dir ${QUELOR_UNIT_DIRS})
  if(IS_DIRECTORY ${dir})
    get_filename_component(area ${dir} NAME)
    file(GLOB_RECURSE area_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    # *_race_test.cpp: tests whose only check is ThreadSanitizer's.
    if(NOT QUELOR_SANITIZE_THREADS)
      list(FILTER area_sources EXCLUDE REGEX "_race_test\\.cpp$")
    endif()
    if(area_sources)
      quelor_unit_tests(${area} "${area_sources}")
    endif()
  endif()
endforeach()

# Command-line companion: one entry, one file per subcommand.
file(GLOB QUELOR_TOOL_SOURCES CONFIGURE_DEPENDS tools/quelor/*.cpp)
add_executable(quelor ${QUELOR_TOOL_SOURCES})
if(NOT TARGET ZLIB::ZLIB)
  find_package(ZLIB REQUIRED)
endif()
target_link_libraries(quelor PRIVATE quelor_core ZLIB::ZLIB)
include(${CMAKE_SOURCE_DIR}/cmake/build_info.cmake)
quelor_build_info(quelor)

# Device simulator on pseudo-terminals.
# The simulator's models and encoders are a library (devsim_lib) so that the
# unit tests link them; main.cpp is the program.
file(GLOB_RECURSE DEVSIM_SOURCES CONFIGURE_DEPENDS tools/devsim/*.cpp)
list(FILTER DEVSIM_SOURCES EXCLUDE REGEX "/tools/devsim/main\\.cpp$")
if(DEVSIM_SOURCES)
  add_library(devsim_lib STATIC ${DEVSIM_SOURCES})
  target_include_directories(devsim_lib PUBLIC ${CMAKE_SOURCE_DIR}/tools)
  # The survey log and the truth use the data-file writer, the framers and the GeoTIFF writer.
  target_link_libraries(devsim_lib PUBLIC core_variant core_datafile core_serial core_grid Threads::Threads)
  add_executable(devsim ${CMAKE_SOURCE_DIR}/tools/devsim/main.cpp)
  target_link_libraries(devsim PRIVATE devsim_lib)
  if(TARGET unit_devsim)
    target_link_libraries(unit_devsim PRIVATE devsim_lib)
  endif()
  if(TARGET unit_survey)
    target_link_libraries(unit_survey PRIVATE devsim_lib)
  endif()
  if(TARGET unit_grid)
    target_link_libraries(unit_grid PRIVATE devsim_lib)  # simulated surveys and their truth
  endif()
endif()

# Black-box tests of the tools (shell scripts in tests/cli) get the tool paths.
file(GLOB QUELOR_CLI_TESTS CONFIGURE_DEPENDS tests/cli/*.sh)
foreach(script ${QUELOR_CLI_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME cli_${name} COMMAND bash ${script})
  set_tests_properties(cli_${name} PROPERTIES
    ENVIRONMENT "QUELOR=$<TARGET_FILE:quelor>;BUILD_DIR=${CMAKE_BINARY_DIR};SOURCE_DIR=${CMAKE_SOURCE_DIR};SHARED_DIR=${CMAKE_SOURCE_DIR}/../shared"
    TIMEOUT 600 SKIP_RETURN_CODE 77)
endforeach()

# One benchmark program per bench/<name>_bench.cpp: bench_<name>.
find_package(benchmark QUIET)
file(GLOB QUELOR_BENCH_SOURCES CONFIGURE_DEPENDS bench/*_bench.cpp)
if(benchmark_FOUND AND NOT QUELOR_SANITIZE AND NOT QUELOR_SANITIZE_THREADS)  # timings under a sanitizer mean nothing
  foreach(src ${QUELOR_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    string(REPLACE "_bench" "" name ${name})
    add_executable(bench_${name} ${src})
    target_link_libraries(bench_${name} PRIVATE quelor_core benchmark::benchmark benchmark::benchmark_main)
    if((name STREQUAL "survey" OR name STREQUAL "grid") AND TARGET devsim_lib)
      target_link_libraries(bench_${name} PRIVATE devsim_lib)  # simulated readings
    endif()
  endforeach()
endif()

# The GPS path against minmea, only with a minmea source folder given.
set(QUELOR_MINMEA_DIR "" CACHE PATH "minmea source folder (minmea.c, minmea.h) for bench_gps_vs_minmea")
if(benchmark_FOUND AND QUELOR_MINMEA_DIR)
  add_executable(bench_gps_vs_minmea bench/minmea/gps_vs_minmea.cpp ${QUELOR_MINMEA_DIR}/minmea.c)
  target_include_directories(bench_gps_vs_minmea PRIVATE ${QUELOR_MINMEA_DIR})
  target_link_libraries(bench_gps_vs_minmea PRIVATE quelor_core benchmark::benchmark benchmark::benchmark_main)
endif()
add_subdirectory(tests/fuzz)
