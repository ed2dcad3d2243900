# The core: one static library per folder of src/core, with the folders it
# uses. `quelor_core` links them all.
function(quelor_core_area name)
  cmake_parse_arguments(AREA "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/core/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_library(core_${name} STATIC ${sources})
  target_include_directories(core_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src/core)
  foreach(dep ${AREA_DEPS})
    if(TARGET core_${dep})
      target_link_libraries(core_${name} PUBLIC core_${dep})
    endif()
  endforeach()
  target_link_libraries(quelor_core INTERFACE core_${name})
endfunction()

add_library(quelor_core INTERFACE)
target_include_directories(quelor_core INTERFACE ${CMAKE_SOURCE_DIR}/src/core)

# In dependency order.
quelor_core_area(variant)
quelor_core_area(settings DEPS variant)
quelor_core_area(serial DEPS variant settings)
quelor_core_area(gps DEPS variant settings)
quelor_core_area(shell DEPS variant settings gps)
quelor_core_area(datafile DEPS variant settings gps serial)
quelor_core_area(survey DEPS variant settings serial gps datafile)
