#!/usr/bin/env bash
# Checking only what changed, over a generated site of PAGES pages (default 10,000):
# 1. choosing the changed pages, one in a hundred edited, against the scan of the same pages
#    in the same run (changed_bench); target: at most 0.3 s;
# 2. the program without its window: a first run over every page with the trivial checker of
#    bench/batch_run.sh, then, after editing one page in a hundred, a run with --changed;
#    target: the second at most 3 % of the first.
# Usage: bench/changed.sh [RUNS] [PAGES]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
pages=${2:-10000}
build_dir=${BENCH_BUILD_DIR:-build-bench}

scripts/install-deps
scripts/build "$build_dir" -DCMAKE_BUILD_TYPE=Release -DALLCHECK_BENCH=ON \
    --target changed_bench --target allcheck --target batch_run_checker
checker=$PWD/$build_dir/bench/batch_run/batch_run_checker

work=$(mktemp -d "${TMPDIR:-/tmp}/allcheck-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
[[ $work != *"'"* ]] || { echo "the checker command cannot quote a path with ': $work" >&2; exit 1; }
echo "Generating $pages pages ..."
bench/generate-site "$work/site" "$pages"
"$build_dir/bench/changed/changed_bench" "$work/site/" "$pages" "$runs"

mkdir -p "$work/program"
cp "$build_dir/src/app/allcheck" "$work/program/"
printf '[Directory]\r\nLocalPath=%s\r\n' "$work/site/" >"$work/program/KESTOLA.INI"
printf '[Program]\nVornaxelBatch=%s\nOutputFile=%s\n' \
    "'$checker' '$work/out.txt'" "$work/out.txt" >"$work/program/allcheck.INI"
# Seconds of one run without a window, which must succeed.
timed() {
    local start=$EPOCHREALTIME
    env -u DISPLAY -u WAYLAND_DISPLAY "$work/program/allcheck" "$@" 2>/dev/null
    local end=$EPOCHREALTIME
    awk -v s="${start/,/.}" -v e="${end/,/.}" 'BEGIN { printf "%.3f\n", e - s }'
}
first=$(timed --run)
for ((p = 0; p < pages / 100; p++)); do
    printf '<p>edited</p>\n' >>"$work/site/section$((p % 10))/page$((p / 10)).html"
done
second=$(timed --run --changed)
sections=$(grep -c '^【' "$work/out.txt" || true)
((sections == pages / 100)) || { echo "the second run checked $sections pages" >&2; exit 1; }
awk -v f="$first" -v s="$second" -v n="$pages" 'BEGIN {
    printf "without a window, %d pages:\n", n
    printf "  first run, every page          %8.2f s\n", f
    printf "  second run, --changed (1 %%)   %8.2f s   ratio %.4f (target <= 0.03)\n", s, s / f
    exit s / f > 0.03 }'
