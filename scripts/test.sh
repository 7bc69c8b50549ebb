#!/usr/bin/env bash
# Sets up, builds and runs every test; then the core tests once more under
# AddressSanitizer and UBSan in a build folder of their own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure --parallel "$(nproc)"

"$root/scripts/build.sh" "$root/build-asan" -DVRK_SANITIZE=ON -DVRK_CORE_ONLY=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$(nproc)" -L core
