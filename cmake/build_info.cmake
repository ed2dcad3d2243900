# The build's version and commit for `quelor --version`. In script mode
# (cmake -P) it writes OUT only when the text changes, so a build after a new
# commit recompiles the one file that includes it and nothing else.
# The version is QUELOR_VERSION from the environment, else `git describe`, as
# in scripts/package.
if(CMAKE_SCRIPT_MODE_FILE)
  set(version "$ENV{QUELOR_VERSION}")
  if(NOT version)
    execute_process(COMMAND git -C "${SOURCE}" describe --tags --always --dirty
                    OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  execute_process(COMMAND git -C "${SOURCE}" rev-parse HEAD
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT version)
    set(version "0")
  endif()
  if(NOT commit)
    set(commit "unknown")
  endif()
  set(text "#pragma once\n#define QUELOR_BUILD_VERSION \"${version}\"\n#define QUELOR_BUILD_COMMIT \"${commit}\"\n")
  set(old "")
  if(EXISTS "${OUT}")
    file(READ "${OUT}" old)
  endif()
  if(NOT old STREQUAL text)
    file(WRITE "${OUT}" "${text}")
  endif()
  return()
endif()

# Gives TARGET the generated build_info.h, refreshed at every build.
function(quelor_build_info target)
  set(dir ${CMAKE_BINARY_DIR}/generated)
  add_custom_target(${target}_build_info
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR} -DOUT=${dir}/build_info.h
            -P ${CMAKE_SOURCE_DIR}/cmake/build_info.cmake
    BYPRODUCTS ${dir}/build_info.h
    COMMENT "Build version and commit")
  add_dependencies(${target} ${target}_build_info)
  target_include_directories(${target} PRIVATE ${dir})
endfunction()
