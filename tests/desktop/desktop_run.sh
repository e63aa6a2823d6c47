#!/usr/bin/env bash
# Runs one scenario of a desktop driver (taskbar_clicks.py, setup_scenarios.py) in the test
# prefix and display that script/test provides (WISPFOLD_WINEPREFIX, DISPLAY), with Wine's
# environment for it.
# Usage: desktop_run.sh DRIVER SCENARIO ARGUMENTS...
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../script/wine-env"
prefix="${WISPFOLD_WINEPREFIX:-$wf_root/build/wine-test}"
wf_make_prefix "$prefix" || exit 1
wf_export_env "$prefix"
driver="$1"
shift
# -B: importing the shared driver writes no byte code into the source tree.
exec python3 -B "$here/$driver" "$@"
