#!/usr/bin/env bash
# Installs what is needed, builds and starts the configurator from the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target configurator
cd build/default/src/configurator
exec ./configurator "$@"
