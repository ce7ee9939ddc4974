#!/usr/bin/env bash
# Takes again the pictures of the README and of the teachers' guide into docs/images: builds the tests that take them
# (on the demo folder, offscreen) and runs them with KELVANE_PHOTOS set. Without it the same tests keep their
# pictures beside them in the build folder only.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${KELVANE_BUILD:-$ROOT/build}"
TESTS=(tst_photos tst_atelier tst_classe)
"$ROOT/scripts/deps.sh"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --parallel "$(nproc)" --target demo_folder "${TESTS[@]}"
QT_QPA_PLATFORM=offscreen KELVANE_PHOTOS="$ROOT/docs/images" \
    ctest --test-dir "$BUILD" --output-on-failure -R "^($(IFS='|'; echo "${TESTS[*]}"))\$"
ls -l "$ROOT/docs/images"
