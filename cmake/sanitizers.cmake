# QUELOR_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer; any finding ends the process (no recovery), so a
# test that triggers one fails.
# QUELOR_SANITIZE_THREADS=ON builds with ThreadSanitizer instead (preset
# tsan): the tests labelled `threads` run there, and the tests of
# tests/unit/*/*_race_test.cpp, whose only check is the sanitizer's, are
# built there alone.
option(QUELOR_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(QUELOR_SANITIZE_THREADS "Build with ThreadSanitizer" OFF)
if(QUELOR_SANITIZE AND QUELOR_SANITIZE_THREADS)
  message(FATAL_ERROR "QUELOR_SANITIZE and QUELOR_SANITIZE_THREADS exclude each other")
endif()
if(QUELOR_SANITIZE)
  set(_quelor_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # GCC's sanitizer code makes -Wmaybe-uninitialized see uninitialized values
  # inside the standard library (std::function in std::regex) that are not.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-Wno-maybe-uninitialized>")
  endif()
elseif(QUELOR_SANITIZE_THREADS)
  set(_quelor_san -fsanitize=thread -fno-omit-frame-pointer)
endif()
if(_quelor_san)
  add_compile_options(${_quelor_san})
  add_link_options(${_quelor_san})
endif()
