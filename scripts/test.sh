#!/usr/bin/env bash
# Installs what is needed, builds with warnings as errors and runs every test but the slow ones (the
# ctest label slow: tests of more than about 20 s each, such as the fault matrix at the converter's own
# pace). With --slow it runs the slow ones only.
# Usage: scripts/test.sh [preset] [--slow]   (preset: default, asan or tsan)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
labels=(-LE slow)
for arg in "$@"; do
    case "$arg" in
    --slow) labels=(-L slow) ;;
    -*) echo "usage: scripts/test.sh [preset] [--slow]" >&2; exit 2 ;;
    *) preset=$arg ;;
    esac
done
bash scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2 "${labels[@]}"
