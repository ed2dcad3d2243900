#!/usr/bin/env bash
# The Windows test program (win32_tests, ctest of build/win32) under Wine.
# scripts/test runs it in an end-to-end lane beside the scripts; started
# alone it runs its own Wine environment. QUELOR_WIN32_BUILD picks the build
# folder (build/win32).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QUELOR_WIN32_BUILD:-$root/build/win32}
if [ ! -f "$build/CTestTestfile.cmake" ]; then
  echo "windows_tests: SKIP: $build is not configured (cmake --preset win32)"
  exit 0
fi
if [ -z "${DISPLAY:-}" ]; then
  # shellcheck source=scripts/wine-env
  . "$root/scripts/wine-env"
  wine_env_start
  trap wine_env_stop EXIT
fi
ctest --test-dir "$build" --output-on-failure
