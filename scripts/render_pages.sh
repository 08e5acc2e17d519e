#!/usr/bin/env bash
# Renders every page of the configurator and its progress window to PNG files, headless; with
# --guide, the user guide's pictures of both programs instead (8-bit palette PNGs).
# Usage: scripts/render_pages.sh [--guide] [output folder]
#        (default: build/pages, with --guide docs/guide)
set -euo pipefail
cd "$(dirname "$0")/.."
mode=()
default=build/pages
if [[ "${1:-}" == --guide ]]; then
    mode=(--guide)
    default=docs/guide
    shift
fi
out=$(realpath -m "${1:-$default}")
cmake --preset default >/dev/null
cmake --build --preset default --target render_pages
QT_QPA_PLATFORM=offscreen build/default/tools/render_pages "${mode[@]}" "$out"
