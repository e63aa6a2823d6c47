#!/usr/bin/env bash
# Runs one end-to-end test program with Wine's relay trace of the program's shell calls
# (Shell_NotifyIconA, ShellExecuteA) and of its message filter (ChangeWindowMessageFilter) in a
# file that the tests read; its name reaches them in WISPFOLD_RELAY_TRACE.
# Usage: relay_run.sh <test program> [its arguments].
set -uo pipefail
source "$(dirname "$0")/../../script/wine-env"
prefix="${WISPFOLD_WINEPREFIX:-$wf_root/build/wine-test}"
wf_make_prefix "$prefix" || exit 1
wf_export_env "$prefix"
key='HKCU\Software\Wine\Debug'
# Without the filter the trace would hold every call of every module and crawl.
calls='shell32.Shell_NotifyIconA;shell32.ShellExecuteA;user32.ChangeWindowMessageFilter'
wine reg add "$key" /v RelayInclude /t REG_SZ /d "$calls" /f >/dev/null 2>&1 || exit 1
trace="$(mktemp /tmp/wispfold-relay.XXXXXX)"
out="$(mktemp)"
# Output through files: Wine's services would hold a pipe open (see script/wine-run).
WINEDEBUG=+relay WISPFOLD_RELAY_TRACE="$trace" wine "$@" >"$out" 2>"$trace"
rc=$?
wine reg delete "$key" /v RelayInclude /f >/dev/null 2>&1
cat "$out"
echo "relay trace: $(grep -c 'Call shell32' "$trace") shell32 calls"
rm -f "$out" "$trace"
exit $rc
