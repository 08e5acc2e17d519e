#!/usr/bin/env bash
# The Windows side, as far as this machine goes: cross-builds the core and the serial layer with
# mingw-w64 and runs their tests under wine. The Win32 serial port talks to the native converter-sim
# through a wine COM port (COM33) that wine maps to the simulator's pseudo-terminal.
# Usage: scripts/windows_check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh windows
cmake --preset default >/dev/null
cmake --build --preset default --target converter-sim

# A wine prefix of the build's own, so the user's ~/.wine is left alone.
export WINEPREFIX="$PWD/build/windows/wineprefix"
export WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
# One wine server for the whole check, so each test program does not start its own (seconds each);
# one still up from an earlier run serves as well.
wineserver --persistent=60 || true
wineboot --init >/dev/null 2>&1 || true
cmake --preset windows >/dev/null
cmake --build --preset windows

simulator_out=$(mktemp)
build/default/src/simulator/converter-sim >"$simulator_out" &
simulator=$!
trap 'kill "$simulator" 2>/dev/null || true; rm -f "$simulator_out"' EXIT
for _ in $(seq 50); do
    [ -s "$simulator_out" ] && break
    sleep 0.1
done
terminal=$(head -n 1 "$simulator_out")
ln -sfn "$terminal" "$WINEPREFIX/dosdevices/com33"
# Each test program runs whole in one wine process: starting wine per test would take seconds each.
ZARNI_TEST_COM_PORT=COM33 wine build/windows/tests/core/core_tests.exe
ZARNI_TEST_COM_PORT=COM33 wine build/windows/tests/windows/windows_link_tests.exe
wineserver --kill
