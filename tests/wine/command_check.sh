#!/usr/bin/env bash
# The Command button on the Win32 forms platform under Wine: command_check.exe (a form with two
# buttons) driven with xdotool through the steps of tests/e2e/command_steps.sh: screenshots after
# each step compared with the state pictures at the button's border and read for the face's
# direction, and each Click counted.
#
# Usage: command_check.sh CASE <dist/windows folder> <folder of command_check.exe> <pictures folder>
#        (CASE: click or no_click)
set -euo pipefail

if [ $# -lt 4 ]; then
  echo "usage: $0 click|no_click <dist/windows folder> <command_check build folder> <pictures folder>" >&2
  exit 2
fi
readonly CASE_NAME="$1" CHECK_BUILD_DIR="$3"
export COMMAND_PICTURES="$4"
if [ ! -f "$CHECK_BUILD_DIR/command_check.exe" ]; then
  echo "SKIP: no $CHECK_BUILD_DIR/command_check.exe (cmake --preset windows && cmake --build --preset windows)"
  exit 77
fi

# shellcheck source=wine_session.sh
source "$(dirname "$0")/wine_session.sh" "$2"
note() { echo "  - $*"; }

export COMMAND_OUT="$WORK_DIR/program.out" COMMAND_WORK="$WORK_DIR" COMMAND_SETTLE=0.6
# shellcheck source=../e2e/command_steps.sh
source "$(dirname "$0")/../e2e/command_steps.sh"

cp "$CHECK_BUILD_DIR/command_check.exe" "$WORK_DIR/"
timeout 120 wine "$WORK_DIR/command_check.exe" >"$COMMAND_OUT" 2>"$WORK_DIR/program.err" 9>&- &
# shellcheck disable=SC2034  # read by the helpers of wine_session.sh
PROGRAM_PID=$!

command_read_buttons
command_run_case "$CASE_NAME"
pass "command.$CASE_NAME"
