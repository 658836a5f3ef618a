#!/usr/bin/env bash
# Times the program's batch run over 1,000 generated pages against a bash loop doing the same
# work with the same trivial checker (a compiled program that writes a fixed report):
#     for f in pages; do printf HEADER "$f" >>combined; checker out "$f"; cat out >>combined; done
# Ours is ExecuteBatch of the shown main window (after its scan), timed inside the process; the
# loop is timed inside bash. Both run alternately after a warm-up and must leave byte-identical
# combined reports. Medians of RUNS runs (default 5). Target: ours per file <= the loop's.
# Usage: bench/batch_run.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
pages=1000
build_dir=${BENCH_BUILD_DIR:-build-bench}

scripts/install-deps
scripts/build "$build_dir" -DCMAKE_BUILD_TYPE=Release -DALLCHECK_BENCH=ON \
    --target batch_run_bench --target batch_run_checker
bench=$PWD/$build_dir/bench/batch_run/batch_run_bench
checker=$PWD/$build_dir/bench/batch_run/batch_run_checker
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d "${TMPDIR:-/tmp}/allcheck-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
[[ $work != *"'"* ]] || { echo "the checker command cannot quote a path with ': $work" >&2; exit 1; }
site=$work/site/
mkdir -p "$work/program" "$work/ours" "$work/loop"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime # Qt wants one; a desktop-less machine has none
echo "Generating $pages pages in $site ..."
bench/generate-site "$site" "$pages"
# The loop takes the pages in the order of the program's list, so both reports can be compared.
mapfile -t files < <("$bench" list "$site")
((${#files[@]} == pages)) || { echo "the scan lists ${#files[@]} pages, not $pages" >&2; exit 1; }

ours_out=$work/ours/out.txt
loop_out=$work/loop/out.txt
combined=$work/loop/combined.txt
# The command as the shell would quote it: the program splits it into words the same way.
run_ours() { "$bench" run "$work/program/" "$site" "$ours_out" "'$checker' '$ours_out'"; }
# Prints the loop's seconds. The header is the program's: an empty line, then the page's path
# in the default brackets.
run_loop() {
    rm -f "$combined"
    local start=$EPOCHREALTIME f
    for f in "${files[@]}"; do
        printf '\r\n\r\n【%s】\r\n' "$f" >>"$combined"
        "$checker" "$loop_out" "$f"
        cat "$loop_out" >>"$combined"
    done
    local end=$EPOCHREALTIME
    # Some locales write the seconds with a decimal comma.
    awk -v s="${start/,/.}" -v e="${end/,/.}" 'BEGIN { printf "%.6f\n", e - s }'
}

# Warm-up, untimed: both once, and their reports must agree byte for byte.
run_ours >/dev/null
run_loop >/dev/null
if ! cmp -s "$ours_out" "$combined"; then
    echo "the combined reports differ: $ours_out and $combined" >&2
    cmp "$ours_out" "$combined" >&2 || true
    exit 1
fi
echo "Both combined reports are identical ($(wc -c <"$combined") bytes)."

ours=() ; saves=() ; theirs=()
for ((i = 0; i < runs; i++)); do
    theirs+=("$(run_loop)")
    read -r t n s < <(run_ours)
    ((n == pages)) || { echo "our run listed $n pages, not $pages" >&2; exit 1; }
    ours+=("$t") ; saves+=("$s")
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
m_loop=$(median "${theirs[@]}")
m_ours=$(median "${ours[@]}")
m_save=$(median "${saves[@]}")
awk -v l="$m_loop" -v o="$m_ours" -v s="$m_save" -v n="$runs" -v p="$pages" 'BEGIN {
    printf "medians of %d runs over %d pages (wall time):\n", n, p
    printf "  bash loop     %8.1f ms   %6.3f ms per file\n", l * 1000, l * 1000 / p
    printf "  ExecuteBatch  %8.1f ms   %6.3f ms per file   (the final save alone %.1f ms)\n",
           o * 1000, o * 1000 / p, s * 1000
    printf "  ratio ours/loop: %.2f  (target <= 1.00: %s)\n", o / l, (o / l <= 1 ? "met" : "MISSED")
}'
