#!/usr/bin/env bash
# Runs one taskbar scenario (taskbar_clicks.py) in the test prefix and display that script/test
# provides (WISPFOLD_WINEPREFIX, DISPLAY), with Wine's environment for it.
# Usage: desktop_run.sh SCENARIO WISPFOLD_EXE DESKTOP_KEEPER_EXE
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../script/wine-env"
prefix="${WISPFOLD_WINEPREFIX:-$wf_root/build/wine-test}"
wf_make_prefix "$prefix" || exit 1
wf_export_env "$prefix"
exec python3 "$here/taskbar_clicks.py" "$@"
