#!/usr/bin/env bash
# Fuzzes the reading of ".mdb" files for SECONDS seconds: builds fuzz_fichiers with clang, libFuzzer, ASan and UBSan
# into build-fuzz/ and runs it on a copy of the committed corpus (fuzz/corpus), so that the repository stays as it
# is. Exits non-zero when an input crashes, hangs or trips a sanitizer, and prints where that input was kept.
#   scripts/fuzz.sh SECONDS            # e.g. scripts/fuzz.sh 60
#   scripts/fuzz.sh SECONDS --merge    # also adds to fuzz/corpus the new inputs that reach new code
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

usage() {
    echo "usage: scripts/fuzz.sh SECONDES [--merge]" >&2
    exit 2
}
[ $# -ge 1 ] && [[ "$1" =~ ^[0-9]+$ ]] && [ "$1" -gt 0 ] || usage
DUREE="$1"
MERGE=0
if [ $# -ge 2 ]; then
    [ "$2" = "--merge" ] || usage
    MERGE=1
fi

BUILD="${KELVANE_FUZZ_BUILD:-$ROOT/build-fuzz}"
"$ROOT/scripts/deps.sh"

debut=$(date +%s)
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_FUZZ=ON \
    -DKELVANE_BENCH=OFF >/dev/null
cmake --build "$BUILD" --target fuzz_fichiers -j"$(nproc)"
echo "Construction: $(($(date +%s) - debut)) s"

TRAVAIL="$(mktemp -d "${TMPDIR:-/tmp}/kelvane-fuzz.XXXXXX")"
mkdir -p "$TRAVAIL/corpus" "$TRAVAIL/trouvailles"
cp "$ROOT"/fuzz/corpus/* "$TRAVAIL/corpus/"

# SQLite pages are 512 bytes to 64 KiB; a test or results file of a few pages is what the reading code sees.
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
set +e
"$BUILD/fuzz/fuzz_fichiers" -max_total_time="$DUREE" -max_len=65536 -timeout=30 -rss_limit_mb=2048 \
    -dict="$ROOT/fuzz/fichiers.dict" -print_final_stats=1 -artifact_prefix="$TRAVAIL/trouvailles/" \
    "$TRAVAIL/corpus" 2>&1 | tee "$TRAVAIL/fuzz.log" |
    grep -v -E '^(#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)|[[:space:]]+NEW_FUNC)'
statut=${PIPESTATUS[0]}
set -e

trouvailles=("$TRAVAIL"/trouvailles/*)
if [ "$statut" -ne 0 ] || [ -e "${trouvailles[0]}" ]; then
    echo "ÉCHEC: fuzz_fichiers a trouvé une entrée fautive (statut $statut):" >&2
    for f in "${trouvailles[@]}"; do
        [ -e "$f" ] && echo "  $f" >&2
    done
    echo "Journal complet: $TRAVAIL/fuzz.log" >&2
    echo "Rejouer: $BUILD/fuzz/fuzz_fichiers FICHIER ; une fois corrigée, copier l'entrée dans fuzz/corpus/" >&2
    exit 1
fi

# Coverage reached by the corpus, per source file of the reading paths: edges of the instrumented code, the
# exception clean-ups that only a failing call takes included.
echo "Couverture (arêtes atteintes par le corpus final):"
"$BUILD/fuzz/fuzz_fichiers" -runs=0 -print_coverage=1 "$TRAVAIL/corpus" 2>&1 | awk '
    /^(UN)?COVERED_FUNC:/ {
        split($5, e, "/"); f = $NF; sub(/:[0-9]+$/, "", f)
        if (f !~ /\/src\/(platform\/db|data|results|session)\/[^\/]*\.cpp$/) next
        sub(/.*\/src\//, "src/", f); couvert[f] += e[1]; total[f] += e[2]
    }
    END {
        for (f in total) { printf "  %-36s %5d/%-5d %3d%%\n", f, couvert[f], total[f], 100 * couvert[f] / total[f]
                           c += couvert[f]; t += total[f] }
        if (t > 0) printf "  %-36s %5d/%-5d %3d%%\n", "ensemble", c, t, 100 * c / t
    }' | sort

if [ "$MERGE" -eq 1 ]; then
    avant=$(ls "$ROOT/fuzz/corpus" | wc -l)
    "$BUILD/fuzz/fuzz_fichiers" -merge=1 -max_len=65536 -timeout=30 "$ROOT/fuzz/corpus" "$TRAVAIL/corpus" \
        >"$TRAVAIL/merge.log" 2>&1
    echo "fuzz/corpus: $avant -> $(ls "$ROOT/fuzz/corpus" | wc -l) fichiers"
fi
rm -rf "$TRAVAIL"
echo "Aucune faute trouvée en $DUREE s"
