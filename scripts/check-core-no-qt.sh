#!/usr/bin/env bash
# Fails when a unit of the Qt-free core includes a Qt header.
set -u
src=$1; shift
status=0
for folder in "$@"; do
  [ -d "$src/$folder" ] || continue
  # A qt/ subfolder (platform/qt, print/qt) holds the Qt side of its folder and is not core.
  hits=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/)' \
         --include='*.h' --include='*.cpp' "$src/$folder" | grep -vE "^$src/[a-z]+/qt/")
  if [ -n "$hits" ]; then
    echo "vrk_core must not include Qt:" >&2
    echo "$hits" >&2
    status=1
  fi
done
exit $status
