#!/usr/bin/env bash
# Fails when the folders of src/ include each other in a circle (two folders
# that include each other, or a longer loop): the layers run one way, and a
# lower folder that needs an upper one gets an interface instead.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/../src" && pwd)}
cd "$src"
# "from to" per include of another folder; a folder is the first part of the path.
edges=$(grep -rEo --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]+/' . |
        sed -E 's#^\./([^/:]+)/?[^:]*:.*"([a-z]+)/$#\1 \2#' | awk '$1 != $2' | sort -u)
if ! loops=$(printf '%s\n' "$edges" | tsort 2>&1 >/dev/null) || [ -n "$loops" ]; then
  echo "Folders of src/ include each other in a circle:" >&2
  printf '%s\n' "$loops" >&2
  echo "Includes between these folders:" >&2
  printf '%s\n' "$edges" >&2
  exit 1
fi
