#!/usr/bin/env bash
# Builds Kelvane and runs the whole test suite twice: a normal build, then one under
# AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero on any failure.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/deps.sh"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

"$ROOT/scripts/build.sh" "$ROOT/build"
ctest --test-dir "$ROOT/build" --output-on-failure --timeout 600 -LE bench

"$ROOT/scripts/build.sh" "$ROOT/build-asan" -DKELVANE_SANITIZE=ON -DKELVANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir "$ROOT/build-asan" --output-on-failure --timeout 900 -LE bench
