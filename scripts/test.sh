#!/usr/bin/env bash
# Sets up, builds and runs every test; then every test once more under
# AddressSanitizer and UBSan in a build folder of their own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/check-layers.sh"

export QT_QPA_PLATFORM=offscreen
"$root/scripts/build.sh" "$root/build" -DVRK_WERROR=ON
ctest --test-dir "$root/build" --output-on-failure --parallel "$(nproc)"

"$root/scripts/build.sh" "$root/build-asan" -DVRK_SANITIZE=ON -DVRK_WERROR=ON
export UBSAN_OPTIONS=print_stacktrace=1
ASAN_OPTIONS=detect_leaks=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$(nproc)" -L core
# The windows' system libraries (D-Bus, fontconfig) keep allocations to the
# end of the process: leaks are looked for in the core only.
ASAN_OPTIONS=detect_leaks=0 \
  ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$(nproc)" -L gui
