#!/usr/bin/env bash
# A short soak in the full test command: scripts/soak for 3 minutes on Qyn31
# (QUELOR_SOAK_MINUTES and QUELOR_SOAK_PROGRAMS change it), every fault of
# the schedule once; its last line and exit code are the soak's.
set -euo pipefail
# A row of the full matrix (scripts/test --full): its key-response p99 is
# taken over a few keys only, so the sanitizer lane's load beside it decides
# the row as much as the program does.
if [ "${QUELOR_E2E_MATRIX:-}" != full ]; then
  echo "soak: SKIP: a row of QUELOR_E2E_MATRIX=full (scripts/test --full, scripts/soak)"
  exit 0
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${QUELOR_E2E_OUT:-${QUELOR_WIN32_BUILD:-$root/build/win32}/e2e}
export QUELOR_SOAK_OUT=$out/soak
export QUELOR_SOAK_PROGRAMS=${QUELOR_SOAK_PROGRAMS:-Qyn31}
export QUELOR_SOAK_EVENT_S=${QUELOR_SOAK_EVENT_S:-15}
exec "$root/scripts/soak" "${QUELOR_SOAK_MINUTES:-3}"
