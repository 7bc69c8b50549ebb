#!/usr/bin/env bash
# Remakes the bundled sample memo file from samples/source/ (UTF-8, easy to
# edit): the sources become Shift_JIS, and vrk-tool writes them out again
# with the program's own writer, with a fixed time and seed.
#   samples/make-sample.sh [VRK_TOOL]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-$here/../build/src/vrk-tool}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for source in "$here"/source/*; do
  iconv -f UTF-8 -t CP932 "$source" | sed 's/$/\r/' >"$work/$(basename "$source")"
done
rm -f "$here"/*.mxa "$here"/*.mxh
"$tool" convert "$work/sample.mxa" "$here/sample.mxa" --time 20241210120000000 --seed 1
"$tool" dump "$here/sample.mxa" >/dev/null
