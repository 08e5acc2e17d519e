#!/usr/bin/env bash
# Installs what is needed, builds with warnings as errors and runs every test.
# Usage: scripts/test.sh [preset]   (default, asan or tsan)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
bash scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
