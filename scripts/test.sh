#!/usr/bin/env bash
# Checks the C++ files' layout (scripts/format.sh), builds Kelvane and runs the whole test suite twice: a normal
# build, then one under AddressSanitizer and UndefinedBehaviorSanitizer. Between the two, every benchmark runs once with few iterations (it proves they still
# work and never fails for a slow machine); then the file-reading paths are fuzzed for a minute, and at the end the
# Debian package is built, inspected, installed, tried and removed (scripts/package.sh; the install part as root only);
# last, the Windows build under Wine when Qt for Windows is in its cache (scripts/windows.sh).
# Exits non-zero on any failure.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/deps.sh"
"$ROOT/scripts/format.sh"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

"$ROOT/scripts/build.sh" "$ROOT/build"
ctest --test-dir "$ROOT/build" --output-on-failure --timeout 600 -LE bench

KELVANE_BUILD="$ROOT/build" "$ROOT/scripts/bench.sh" --quick

"$ROOT/scripts/build.sh" "$ROOT/build-asan" -DKELVANE_SANITIZE=ON -DKELVANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir "$ROOT/build-asan" --output-on-failure --timeout 900 -LE bench

"$ROOT/scripts/fuzz.sh" "${KELVANE_FUZZ_SECONDS:-60}"

"$ROOT/scripts/package.sh"

# The Windows build and its suites under Wine, when this machine holds Qt for Windows (built once by
# scripts/windows.sh, about 45 minutes).
. "$ROOT/scripts/windows/caches.sh"
if [ -f "$KELVANE_QT_WINDOWS/.complet" ]; then
    KELVANE_BUILD="$ROOT/build" "$ROOT/scripts/windows.sh"
else
    echo "Windows : ignoré, Qt pour Windows n'est pas dans $KELVANE_QT_WINDOWS (scripts/windows.sh le construit une fois, environ 45 minutes)"
fi
