#!/usr/bin/env bash
# Runs every benchmark of bench/ and prints one table: each figure, its target, and the bare SQLite or bare Qt work
# it is compared with, as ratios measured in the same run.
#
#   scripts/bench.sh           5 repetitions of each benchmark, medians (KELVANE_BENCH_REPETITIONS to change)
#   scripts/bench.sh --quick   one short run of each, to prove that they all still work (figures not meaningful)
#
# Builds with scripts/build.sh into build/, or into the folder named by KELVANE_BUILD. Exits non-zero only when a
# benchmark cannot be built, crashes or reports an error; a missed target is shown in the table, never a failure.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${KELVANE_BUILD:-$ROOT/build}"
QUICK=0
case "${1:-}" in
    --quick) QUICK=1 ;;
    "") ;;
    *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac

"$ROOT/scripts/build.sh" "$BUILD" -DKELVANE_BENCH=ON >&2 # the build's progress on stderr: stdout is the table
BENCHES=(bench_engine bench_scan bench_session bench_start bench_editeur bench_bilan bench_banques)
for b in "${BENCHES[@]}"; do
    if [ ! -x "$BUILD/bench/$b" ]; then
        echo "$BUILD/bench/$b is missing: is Google Benchmark (libbenchmark-dev) installed?" >&2
        exit 1
    fi
done

export QT_QPA_PLATFORM=offscreen
OUT="$(mktemp -d)"
trap 'rm -rf "$OUT"' EXIT
if [ "$QUICK" -eq 1 ]; then
    ARGS=(--benchmark_min_time=0.01 --benchmark_repetitions=1)
else
    ARGS=(--benchmark_repetitions="${KELVANE_BENCH_REPETITIONS:-5}" --benchmark_report_aggregates_only=true)
fi

failed=()
for b in "${BENCHES[@]}"; do
    # Run beside the binary, on the build's disk: the files the benchmarks write must pay real syncs.
    if ! (cd "$BUILD/bench" && "./$b" "${ARGS[@]}" --benchmark_out="$OUT/$b.csv" --benchmark_out_format=csv \
            >"$OUT/$b.log" 2>&1); then
        failed+=("$b")
        echo "== $b failed; its output:" >&2
        cat "$OUT/$b.log" >&2
    fi
done

cat "$OUT"/*.csv 2>/dev/null | awk -v quick="$QUICK" '
# One CSV line into fields f[1..n], double-quoted fields allowed.
function split_csv(line, f,    n, i, c, q, cur) {
    n = 0; cur = ""; q = 0
    for (i = 1; i <= length(line); i++) {
        c = substr(line, i, 1)
        if (q) {
            if (c == "\"") { if (substr(line, i + 1, 1) == "\"") { cur = cur "\""; i++ } else q = 0 }
            else cur = cur c
        } else if (c == "\"") q = 1
        else if (c == ",") { f[++n] = cur; cur = "" }
        else cur = cur c
    }
    f[++n] = cur
    return n
}
function ms(v, unit) {
    if (unit == "ns") return v / 1e6
    if (unit == "us") return v / 1e3
    if (unit == "s") return v * 1e3
    return v
}
# The median of the repetitions when there are several, else the single run.
function key(name) { return ((name "_median") in t) ? name "_median" : name }
function tm(name) { return t[key(name)] }
function pk(name) { return p[key(name)] }
function fmt(v, unit) { return (v == "") ? "n/a" : sprintf("%.2f %s", v, unit) }
# A target is a bound on the ratio, or on the figure itself (under), or none.
function row(what, a, abare, unit, bare, target, limit, under,    r, met) {
    r = (a != "" && abare != "" && abare > 0) ? sprintf("%.2f", a / abare) : "n/a"
    if (under != "") met = (a == "") ? "n/a" : ((a + 0 < under + 0) ? "yes" : "NO")
    else if (limit == "") met = "-"
    else met = (r == "n/a") ? "n/a" : ((r + 0 <= limit + 0) ? "yes" : "NO")
    printf "| %s | %s | %s | %s | %s | %s | %s |\n", what, fmt(a, unit), fmt(abare, unit), bare, r, target, met
}
/^name,/ {
    n = split_csv($0, h)
    for (i = 1; i <= n; i++) col[h[i]] = i
    next
}
{
    split_csv($0, f)
    name = f[col["name"]]
    gsub(/\/(iterations:[0-9]+|manual_time|real_time)/, "", name) # BM_X/manual_time_median -> BM_X_median
    if (f[col["error_occurred"]] == "true") { err[name] = f[col["error_message"]]; next }
    t[name] = ms(f[col["real_time"]], f[col["time_unit"]])
    if ("peak_MiB" in col && f[col["peak_MiB"]] != "") p[name] = f[col["peak_MiB"]]
}
END {
    print "| Figure | Kelvane | Bare | Bare work it is compared with | Ratio | Target | Met |"
    print "|---|---|---|---|---|---|---|"
    row("Copy of 1,000 question records, one transaction", tm("BM_CopyEngine"), tm("BM_CopyDirect"), "ms",
        "prepared INSERTs, same values", "ratio <= 1.3", 1.3)
    row("One durable Edit/Update", tm("BM_DurableEditEngine"), tm("BM_DurableEditDirect"), "ms",
        "one UPDATE, same journal and sync", "ratio <= 1.3", 1.3)
    row("Scan of 50 tests + 50 results files", tm("BM_ScanFolderChange"), tm("BM_ScanBareSqlite"), "ms",
        "open, table list, one record per file", "under 100 ms", "", 100)
    row("Cold start to the menu painted", tm("BM_ColdStartMenu"), tm("BM_ColdStartBareQt"), "ms",
        "process showing a plain QWidget", "ratio <= 1.5", 1.5)
    row("Peak memory, whole 1,001-question evaluation", pk("BM_EvaluationRun"), pk("BM_ColdStartBareQt"), "MiB",
        "process showing a plain QWidget", "ratio <= 1.5", 1.5)
    row("Session start, 1,001 questions (OkNom to question 1)", tm("BM_SessionStart"), tm("BM_SessionStartBare"), "ms",
        "read test, create file, copy rows in one durable transaction", "ratio <= 2.0", 2.0)
    row("Answer recording (one Suivant click)", tm("BM_AnswerRecord"), tm("BM_AnswerRecordBare"), "ms",
        "one durable UPDATE + next row read", "ratio <= 1.3", 1.3)
    row("Results screen, 1,001 questions", tm("BM_ResultsScreen"), tm("BM_ResultsScreenBare"), "ms",
        "two durable UPDATEs + every row read", "none set", "")
    row("Editor: opening a 1,000-question test, painted", tm("BM_EditeurOuverture"), "", "ms",
        "none (a bound on the figure)", "under 300 ms", "", 300)
    row("Editor: saving a 1,000-question test", tm("BM_EditeurEnregistrement"), "", "ms",
        "none (a bound on the figure)", "under 200 ms", "", 200)
    row("Editor: one key in the text, preview painted", tm("BM_EditeurApercu"), "", "ms",
        "none (a bound on the figure)", "under 16 ms", "", 16)
    row("Class summary of 500 results files of 50 questions", tm("BM_BilanDossier/500"), "", "ms",
        "none (a bound on the figure)", "under 1000 ms", "", 1000)
    row("Class summary: memory a read adds, 500 files", pk("BM_BilanMemoire/500"), pk("BM_BilanMemoire/100"), "MiB",
        "the same for 100 files", "ratio <= 1.2", 1.2)
    row("Import of a Moodle XML bank, 5,000 questions, 500 pictures", tm("BM_ImportMoodle"), tm("BM_XmlSeul"), "ms",
        "QXmlStreamReader alone through the file", "under 2000 ms", "", 2000)
    row("Import of that bank: memory it adds", pk("BM_ImportMemoire"), "", "MiB",
        "none (the figure alone)", "none set", "")
    printf "\nWhole 1,001-question evaluation run, spawn to exit: %s\n", fmt(tm("BM_EvaluationRun"), "ms")
    if (quick) print "Quick run (--quick): few iterations, the figures only show that every benchmark works."
    else print "Medians of the repetitions; on a loaded machine ratios swing, run again before drawing conclusions."
    for (e in err) { printf "ERROR %s: %s\n", e, err[e]; bad = 1 }
    exit bad
}' || failed+=("(benchmarks reporting errors)")

if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed: ${failed[*]}" >&2
    exit 1
fi
