#!/usr/bin/env bash
# Times the Windows program's batch run under Wine over 200 generated pages, with the tests'
# fake checker (its report is the page's path in brackets), against a cmd.exe loop doing the same
# work in the same Wine session:
#     for /f %%f in (list) do ( echo the header >>combined & checker out "%%f" & type out >>combined )
# Ours is ExecuteBatch of the shown main window (after its scan), timed inside the process, as in
# bench/batch_run.sh. cmd.exe tells no time finer than a minute, so the loop's time is that of
# "cmd /c loop.bat" less that of "cmd /c empty.bat", both taken from outside. Both must leave
# byte-identical combined reports. To show where a page's time goes, the run starts the checker
# once more after each page, alone, as it starts it for a page (a console of its own, waited for
# the same way); ours leaves those starts out. The rest of a page is the median over the pages of
# a page's time less the start alone beside it: a start under Wine costs some 140 ms and drifts
# by several ms from one process or minute to the next, more than the rest itself, so a start
# timed in another process cannot be taken from it. Medians of RUNS runs (default 3), the rest
# with the lowest and highest of the runs. Target: ours per page <= the loop's. Three runs take
# about three minutes, after a first build of a few minutes in their own build folder.
# Usage: bench/batch_run_wine.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
pages=200
build_dir=${BENCH_BUILD_DIR:-build-bench-windows}

echo "Building (Release) in $build_dir ..."
scripts/build-windows "$build_dir" -DCMAKE_BUILD_TYPE=Release -DALLCHECK_BENCH=ON \
    --target batch_run_bench --target fake_checker
prefix=$PWD/$build_dir/wine-prefix
bench=$PWD/$build_dir/bench/batch_run/batch_run_bench.exe
checker=$PWD/$build_dir/tests/app/fake_checker.exe

work=$(mktemp -d "${TMPDIR:-/tmp}/allcheck-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/ours" "$work/loop"
site=$work/site/
echo "Generating $pages pages in $site ..."
bench/generate-site "$site" "$pages"

# A Linux path as Wine shows it to Windows programs: drive Z: is the root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
wine_run() { scripts/run-under-wine "$prefix" "$@"; }
# Wine may say something of its own on the program's output (such as "...:err:system:..."):
# only the lines of the program count.
figures() { grep -E '^[0-9]' | tail -n 1; }
seconds() { date +%s.%N; }
elapsed() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.6f\n", e - s }'; }

# The loop takes the pages in the order of the program's list, so both reports can be compared.
if ! wine_run "$bench" list "$(windows_path "$site")" >"$work/list.out"; then
    cat "$work/list.out" >&2
    echo "the benchmark could not list the pages" >&2
    exit 1
fi
grep '^Z:' "$work/list.out" >"$work/list"
mapfile -t files <"$work/list"
((${#files[@]} == pages)) || { echo "the scan lists ${#files[@]} pages, not $pages" >&2; exit 1; }
printf '%s\r\n' "${files[@]}" >"$work/list.txt"

ours_out=$(windows_path "$work/ours/out.txt")
loop_out=$(windows_path "$work/loop/out.txt")
combined=$work/loop/combined.txt
# The checker command, to which the page's path is appended: the report goes to $1.
checker_command() { printf '"%s" "%s" args' "$(windows_path "$checker")" "$1"; }
# The header is the program's: an empty line, then the page's path in the default brackets.
to_combined=">>\"$(windows_path "$combined")\""
{
    printf '@echo off\r\n'
    printf 'for /f "usebackq delims=" %%%%f in ("%s") do (\r\n' "$(windows_path "$work/list.txt")"
    printf '    %s echo.\r\n' "$to_combined"
    printf '    %s echo.\r\n' "$to_combined"
    printf '    %s echo 【%%%%f】\r\n' "$to_combined"
    printf '    %s "%%%%f"\r\n' "$(checker_command "$loop_out")"
    printf '    type "%s" %s\r\n' "$loop_out" "$to_combined"
    printf ')\r\n'
} | iconv -f UTF-8 -t CP932 >"$work/loop.bat"
printf '@echo off\r\n' >"$work/empty.bat"

run_ours() {
    wine_run "$bench" split "$(windows_path "$work/program/")" "$(windows_path "$site")" \
        "$ours_out" "$(checker_command "$ours_out")" | figures
}
# Prints the seconds of one run of the batch file.
run_batch() {
    local start end
    start=$(seconds)
    wine_run cmd /c "$(windows_path "$1")" >/dev/null
    end=$(seconds)
    elapsed "$start" "$end"
}
run_loop() {
    rm -f "$combined"
    run_batch "$work/loop.bat"
}
# A run that failed on the way would time the wrong thing: both must have left the same report.
same_reports() {
    if ! cmp -s "$work/ours/out.txt" "$combined"; then
        echo "the combined reports differ: $work/ours/out.txt and $combined" >&2
        diff -a "$work/ours/out.txt" "$combined" | head -n 8 >&2 || true
        exit 1
    fi
}

# Warm-up, untimed: both once.
run_ours >/dev/null
run_loop >/dev/null
same_reports
echo "Both combined reports are identical ($(wc -c <"$combined") bytes)."

ours=() ; loops=() ; empties=() ; alone=() ; rests=()
for ((i = 0; i < runs; i++)); do
    loops+=("$(run_loop)")
    empties+=("$(run_batch "$work/empty.bat")")
    read -r t n _ a r _ < <(run_ours)
    ((n == pages)) || { echo "our run listed $n pages, not $pages" >&2; exit 1; }
    ours+=("$t")
    alone+=("$a")
    rests+=("$r")
    same_reports
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
lowest() { printf '%s\n' "$@" | sort -g | head -n 1; }
highest() { printf '%s\n' "$@" | sort -g | tail -n 1; }
awk -v l="$(median "${loops[@]}")" -v e="$(median "${empties[@]}")" -v o="$(median "${ours[@]}")" \
    -v s="$(median "${alone[@]}")" -v r="$(median "${rests[@]}")" -v rl="$(lowest "${rests[@]}")" \
    -v rh="$(highest "${rests[@]}")" -v n="$runs" -v p="$pages" 'BEGIN {
    loop = l - e
    printf "medians of %d runs over %d pages under Wine (wall time):\n", n, p
    printf "  cmd.exe loop  %8.1f ms   %6.1f ms per page   (cmd /c of an empty batch: %.1f ms)\n",
           loop * 1000, loop * 1000 / p, e * 1000
    printf "  ExecuteBatch  %8.1f ms   %6.1f ms per page\n", o * 1000, o * 1000 / p
    printf "    of which the checker started with a console of its own and waited for: %.1f ms,\n",
           s * 1000
    printf "    the rest of a page (window, report, output file, journal): %.1f ms (%.1f to %.1f)\n",
           r * 1000, rl * 1000, rh * 1000
    printf "  ratio ours/loop: %.2f  (target <= 1.00: %s)\n", o / loop, (o / loop <= 1 ? "met" : "MISSED")
}'
