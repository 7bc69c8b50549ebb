#!/usr/bin/env bash
# Sets up, builds and starts vrk: scripts/run.sh [FILE]
# Without FILE it opens the bundled sample memo file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
file=${1:-}
if [ -z "$file" ] && [ -f "$root/samples/sample.mxa" ]; then
  file="$root/samples/sample.mxa"
fi
exec "$root/build/src/vrk" ${file:+"$file"}
