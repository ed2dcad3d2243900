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

# zlib from Debian (zlib1g-dev; libz-mingw-w64-dev for the cross build,
# linked statically there so that the programs need no zlib1.dll).
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)

add_library(quelor_core INTERFACE)
target_include_directories(quelor_core INTERFACE ${CMAKE_SOURCE_DIR}/src/core)

# In dependency order.
quelor_core_area(variant)
quelor_core_area(sound)
quelor_core_area(settings DEPS variant)
quelor_core_area(gps DEPS variant settings)
quelor_core_area(serial DEPS variant settings gps)  # the NMEA checksum of the tilt meter
quelor_core_area(datafile DEPS variant settings gps serial)
quelor_core_area(setup DEPS variant settings serial gps datafile)
quelor_core_area(display DEPS variant settings)
quelor_core_area(map DEPS variant settings gps datafile)
quelor_core_area(shell DEPS variant settings gps setup map)
quelor_core_area(procedures DEPS variant settings serial datafile)
quelor_core_area(reading DEPS variant settings serial datafile map procedures)
quelor_core_area(survey DEPS variant settings serial gps datafile setup display map procedures reading)
quelor_core_area(background DEPS variant settings gps datafile map survey reading)
quelor_core_area(export DEPS variant settings serial gps datafile map procedures reading)
quelor_core_area(report DEPS variant settings serial gps datafile map survey background export reading)
quelor_core_area(grid DEPS variant settings serial gps datafile map survey background export reading)
if(TARGET core_grid)
  target_link_libraries(core_grid PUBLIC ZLIB::ZLIB)
endif()
