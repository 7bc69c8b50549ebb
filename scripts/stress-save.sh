#!/usr/bin/env bash
# Kills saves at random moments and checks that nothing is ever half written:
#   scripts/stress-save.sh N
# N times `vrk-tool convert big.mxh target.mxh` with one of two --time stamps
# (two known versions of the target) is killed with SIGKILL after a random
# delay. After every run the target must be one of the two versions, whole,
# and after every save that completes no temporary file of a killed one may
# stay. Needs python3 and a built vrk-tool (VRK_TOOL, else build/src/vrk-tool).
# Not run by CI: it takes minutes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:?usage: scripts/stress-save.sh N}
tool=${VRK_TOOL:-$root/build/src/vrk-tool}
[ -x "$tool" ] || { echo "no vrk-tool at $tool (build it first)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vrk-stress-XXXXXX")
trap 'rm -rf "$work"' EXIT
# One holder of 40,000 nodes (about 12 MB): a save takes long enough to be
# killed in every phase.
python3 "$root/scripts/make-memofile.py" "$work/in" 1 40000 3
big=$work/in/H00001.mxh
target=$work/target.mxh
times=(20240101000000000 20250101000000000)

save() {  # save VERSION [DELAY]: 0 when the save completed
  local args=("$tool" convert "$big" "$target" --time "${times[$1]}")
  if [ $# -gt 1 ]; then
    timeout --foreground -s KILL "$2" "${args[@]}" >/dev/null 2>&1
  else
    "${args[@]}" >/dev/null
  fi
}
leftovers() { find "$work" -maxdepth 1 -name '.target.mxh.tmp*' | wc -l; }

declare -a sums
for v in 0 1; do
  save "$v"
  sums[$v]=$(sha256sum <"$target" | cut -d' ' -f1)
done
[ "${sums[0]}" != "${sums[1]}" ] || { echo "the two versions are the same" >&2; exit 2; }
start=$(date +%s%N)
save 0
full_ms=$(( ($(date +%s%N) - start) / 1000000 ))

killed=0 completed=0 whole=0 torn=0 stale=0 most=0 midwrite=0
for ((i = 1; i <= count; i++)); do
  version=$((i % 2))
  # Reading takes the first part of a save: 0.4 to 1.2 times a full save
  # kills most runs while they write, and lets some complete.
  delay_ms=$((full_ms * (40 + RANDOM % 81) / 100))
  if save "$version" "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"; then
    completed=$((completed + 1))
    # Every writer killed before has gone: its temporary must have gone too.
    [ "$(leftovers)" -eq 0 ] || stale=$((stale + 1))
  else
    killed=$((killed + 1))
    [ "$(leftovers)" -eq 0 ] || midwrite=$((midwrite + 1))  # killed while writing
  fi
  sum=$(sha256sum <"$target" | cut -d' ' -f1)
  if [ "$sum" = "${sums[0]}" ] || [ "$sum" = "${sums[1]}" ]; then
    whole=$((whole + 1))
  else
    torn=$((torn + 1))
  fi
  n=$(leftovers)
  [ "$n" -le "$most" ] || most=$n
done
waiting=$(leftovers)
save 0
after=$(leftovers)
[ "$after" -eq 0 ] || stale=$((stale + 1))

echo "stress-save: $count runs (full save ${full_ms} ms): killed $killed ($midwrite left a" \
  "temporary), completed $completed;" \
  "target whole $whole, torn $torn; temporaries waiting at most $most, $waiting before the" \
  "last save, $after after it; saves that left an old temporary: $stale"
[ "$torn" -eq 0 ] && [ "$stale" -eq 0 ]
