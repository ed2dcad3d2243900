# Native build: the core's unit tests, the command-line tools and benchmarks.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)
include(GoogleTest)

file(GLOB_RECURSE QUELOR_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${QUELOR_UNIT_TESTS})
target_link_libraries(unit_tests PRIVATE quelor_core GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
target_compile_definitions(unit_tests PRIVATE
  QUELOR_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  QUELOR_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared"
  QUELOR_BINARY_DIR="${CMAKE_BINARY_DIR}")
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

# Command-line companion: one entry, one file per subcommand.
file(GLOB QUELOR_TOOL_SOURCES CONFIGURE_DEPENDS tools/quelor/*.cpp)
add_executable(quelor ${QUELOR_TOOL_SOURCES})
target_link_libraries(quelor PRIVATE quelor_core)

# Device simulator on pseudo-terminals.
file(GLOB_RECURSE DEVSIM_SOURCES CONFIGURE_DEPENDS tools/devsim/*.cpp)
if(DEVSIM_SOURCES)
  add_executable(devsim ${DEVSIM_SOURCES})
  target_link_libraries(devsim PRIVATE quelor_core Threads::Threads util)
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

find_package(benchmark QUIET)
file(GLOB QUELOR_BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
if(benchmark_FOUND AND QUELOR_BENCH_SOURCES)
  add_executable(benchmarks ${QUELOR_BENCH_SOURCES})
  target_link_libraries(benchmarks PRIVATE quelor_core benchmark::benchmark benchmark::benchmark_main)
endif()
