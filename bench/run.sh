#!/usr/bin/env bash
# Builds the benchmark runner and prints every comparison of the project as one Markdown table
# (the README's performance table). Arguments go to the runner: --repetitions N, --only REGEX,
# --json FILE, --dir DIR (see quillane_bench --help).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${QUILLANE_BUILD_DIR:-build}
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
fi
cmake --build "$dir" --target quillane_bench >&2
exec "$dir/bench/quillane_bench" "$@"
