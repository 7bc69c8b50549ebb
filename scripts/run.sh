#!/usr/bin/env bash
# Sets up, builds and starts vrk: scripts/run.sh [FILE]
# Without FILE it opens the bundled sample memo file, copied once into
# ${XDG_DATA_HOME:-~/.local/share}/vrk/sample/ so that edits and saves stay
# out of the source tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
file=${1:-}
if [ -z "$file" ] && [ -f "$root/samples/sample.mxa" ]; then
  copy="${XDG_DATA_HOME:-$HOME/.local/share}/vrk/sample"
  mkdir -p "$copy"
  if [ ! -f "$copy/sample.mxa" ]; then
    cp "$root"/samples/*.mxa "$root"/samples/*.mxh "$copy/"
  fi
  file="$copy/sample.mxa"
fi
exec "$root/build/src/vrk" ${file:+"$file"}
