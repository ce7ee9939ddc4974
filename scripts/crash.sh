#!/usr/bin/env bash
# Crash safety and concurrent starts, in long series:
#   scripts/crash.sh [COUNT [SEED]]
# COUNT sessions (200 by default) are killed with SIGKILL at a random moment, one seed each from a drawn first seed;
# then 50 rounds of two sessions started at the same moment (ROUNDS=N to change). With a SEED, that one kill is
# replayed instead. The seed of every failed kill is printed at the end. BUILD=DIR picks the build folder (build/).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${BUILD:-$ROOT/build}"
COUNT="${1:-200}"
SEED="${2:-}"
"$ROOT/scripts/deps.sh"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}"

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" --target tst_crash tst_concurrence --parallel "$(nproc)" >/dev/null
TESTS="$BUILD/tests/crash"
LOG="$(mktemp)"
trap 'rm -f "$LOG"' EXIT

status=0
if [ -n "$SEED" ]; then
    KELVANE_CRASH_GRAINE="$SEED" "$TESTS/tst_crash" aSessionKilledAtRandom 2>&1 | tee "$LOG" || status=1
else
    KELVANE_CRASH_NOMBRE="$COUNT" "$TESTS/tst_crash" 2>&1 | grep -v '^PASS   : TestCrash::aSessionKilledAtRandom' \
        | tee "$LOG" || true
    grep -q '^Totals: .* 0 failed' "$LOG" || status=1
    KELVANE_CONCURRENCE_NOMBRE="${ROUNDS:-50}" "$TESTS/tst_concurrence" 2>&1 | tee -a "$LOG" || status=1
fi

failed="$(sed -n 's/^FAIL!  : TestCrash::aSessionKilledAtRandom(graine \([0-9]*\)).*/\1/p' "$LOG" | sort -un)"
if [ -n "$failed" ]; then
    echo "Graines en échec (rejouer: scripts/crash.sh 1 GRAINE):" $failed
fi
exit "$status"
