#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds (default 60) from its seed corpus in
# fuzz/corpus/, and fails on the first crash. The inputs found grow in a scratch folder, so the
# committed seeds stay as they are; a crashing input is left in build/fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
findings=$(realpath -m build/fuzz/findings)
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for seeds in fuzz/corpus/*/; do
    target=$(basename "$seeds")
    mkdir -p "$scratch/$target"
    cp "$seeds"* "$scratch/$target/"
    echo "== $target: $seconds s"
    log="$scratch/$target.log"
    if ! build/fuzz/fuzz/"$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$findings/$target-" "$scratch/$target" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$target: crashed; the input is in $findings" >&2
        exit 1
    fi
    grep -E "^stat::number_of_executed_units|^Done" "$log" || true
done
