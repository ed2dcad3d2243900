# Sourced by the setup-window scripts (smoke, input, variants): the build
# folder, the window inspector, a Wine environment of their own when started
# alone, and the clean-up at exit. e2e_frame_begin NAME sets root, build,
# inspect, out and fail().
# shellcheck shell=bash

e2e_frame_begin() {
  frame_name=$1
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
  build=${QUELOR_WIN32_BUILD:-$root/build/win32}
  case $build in /*) ;; *) build=$root/$build ;; esac
  inspect=$build/wininspect.exe
  out=${QUELOR_E2E_OUT:-$build/e2e}
  if [ ! -f "$inspect" ]; then
    cmake --build "$build" --target wininspect >/dev/null || fail "cannot build wininspect"
  fi
  # shellcheck source=../../../scripts/wine-env
  . "$root/scripts/wine-env"
  frame_own_env=0
  if [ -z "${DISPLAY:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine_env_start
    frame_own_env=1
  fi
  trap e2e_frame_cleanup EXIT
  mkdir -p "$out"
}

fail() {
  echo "$frame_name: FAIL: $*" >&2
  exit 1
}

e2e_frame_cleanup() {
  wine_program_kill
  [ "$frame_own_env" -eq 0 ] || wine_env_stop
}
