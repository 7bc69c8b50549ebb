#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh DIR [cmake options...]
set -euo pipefail
dir=$1; shift
root=$(cd "$(dirname "$0")/.." && pwd)
# Options given are applied each time, so that a folder first configured
# without them (scripts/run.sh) gets them for the tests.
if [ ! -f "$dir/build.ninja" ] || [ $# -gt 0 ]; then
  cmake -S "$root" -B "$dir" -G Ninja "$@"
fi
cmake --build "$dir" --parallel "$(nproc)"
