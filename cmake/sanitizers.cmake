# QUELOR_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer; any finding ends the process (no recovery), so a
# test that triggers one fails.
option(QUELOR_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QUELOR_SANITIZE)
  set(_quelor_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_quelor_san})
  add_link_options(${_quelor_san})
endif()
