#!/usr/bin/env bash
# End-to-end checks of the Command button on the GTK forms platform, on a private Xvfb driven
# with xdotool: a form with two buttons (command_check), with the steps of command_steps.sh.
# Usage: command_e2e.sh CASE COMMAND_CHECK PICTURES_DIR     (CASE: click or no_click)
set -euo pipefail
case_name=$1 program=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"

[ -x "$program" ] || fail "no program at $program"
start_xvfb 640x480x24
export COMMAND_PICTURES=$3 COMMAND_OUT="$E2E_WORK/out" COMMAND_WORK="$E2E_WORK"
. "$here/command_steps.sh"
"$program" >"$COMMAND_OUT" 2>"$E2E_WORK/err" &
E2E_PIDS+=("$!")
command_read_buttons
command_run_case "$case_name"
echo "PASS command.$case_name"
