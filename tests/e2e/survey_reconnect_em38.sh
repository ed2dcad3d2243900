#!/usr/bin/env bash
# The instrument's link drops and comes back on the EM38 program, which has
# no connection time-out: the break is the vanished port (its reads fail or
# it answers no status query), the reopened port's record length is found
# again, and every reading after the return is logged. The same scenario as
# survey_reconnect.sh (QUELOR_E2E_PROGRAM=QynCS-21 runs it on the CS-21).
QUELOR_E2E_PROGRAM=Qyn38 exec bash "$(dirname "$0")/survey_reconnect.sh"
