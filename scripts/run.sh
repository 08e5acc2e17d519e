#!/usr/bin/env bash
# Installs what is needed, builds and starts the configurator (or the uploader) from the build folder.
# Usage: scripts/run.sh [uploader] [program arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
program=configurator
if [[ "${1:-}" == uploader ]]; then
    program=uploader
    shift
fi
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target "$program"
cd "build/default/src/$program"
exec "./$program" "$@"
