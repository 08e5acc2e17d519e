#!/usr/bin/env bash
# Renders every page of the configurator and its progress window to PNG files, headless.
# Usage: scripts/render_pages.sh [output folder]   (default: build/pages)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/pages}")
cmake --preset default >/dev/null
cmake --build --preset default --target render_pages
QT_QPA_PLATFORM=offscreen build/default/tools/render_pages "$out"
