#!/usr/bin/env bash
# Times the program's recursive HTML search against find(1) on a generated tree of about
# 100,000 files in 10,000 directories: the scan of one site (ScanSites: one walk for "*.html"
# and "*.htm" with the kinds 25), against
#     find DIR \( -iname '*.html' -o -iname '*.htm' \)
# Both run as whole processes, alternately, after a warm-up; medians of RUNS runs (default 9).
# Target: ours <= 0.8 x find, with a peak memory no higher than the earlier walk per mask had.
# Usage: bench/file_search.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}
build_dir=${BENCH_BUILD_DIR:-build-bench}

scripts/install-deps
scripts/build "$build_dir" -DCMAKE_BUILD_TYPE=Release -DALLCHECK_BENCH=ON --target file_search_bench
bench=$build_dir/bench/file_search/file_search_bench

work=$(mktemp -d "${TMPDIR:-/tmp}/allcheck-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
site=$work/site
echo "Generating the tree in $site ..."
"$bench" generate "$site"

find_cmd=(find "$site/" \( -iname '*.html' -o -iname '*.htm' \))
echo "find lists $("${find_cmd[@]}" | wc -l) pages (hidden ones included); ours lists" \
     "$("$bench" scan "$site/" | cut -d' ' -f2) (hidden ones left out)"
# Warm the cache: both walks once, untimed.
"${find_cmd[@]}" >/dev/null
"$bench" scan "$site/" >/dev/null

ours=() ; ours_inner=() ; theirs=() ; ours_kib=0 ; find_kib=0
for ((i = 0; i < runs; i++)); do
    out=$("$bench" run "${find_cmd[@]}") ; read -r t kib <<<"$out"
    theirs+=("$t") ; ((kib > find_kib)) && find_kib=$kib
    out=$("$bench" run "$bench" scan "$site/") ; read -r t kib <<<"$out"
    ours+=("$t") ; ((kib > ours_kib)) && ours_kib=$kib
    out=$("$bench" scan "$site/") ; read -r t _ <<<"$out"
    ours_inner+=("$t")
done

mkdir "$work/empty"
base_kib=$("$bench" scan "$work/empty/" | cut -d' ' -f3)

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
m_find=$(median "${theirs[@]}")
m_ours=$(median "${ours[@]}")
m_inner=$(median "${ours_inner[@]}")
awk -v f="$m_find" -v o="$m_ours" -v i="$m_inner" -v fk="$find_kib" -v ok="$ours_kib" -v bk="$base_kib" -v n="$runs" 'BEGIN {
    printf "medians of %d runs (wall time of the whole process):\n", n
    printf "  find        %8.1f ms   peak %6.1f MiB\n", f * 1000, fk / 1024
    printf "  ScanSites   %8.1f ms   peak %6.1f MiB   (%.1f ms inside the process)\n", o * 1000, ok / 1024, i * 1000
    printf "  (the same program scanning an empty folder peaks at %.1f MiB)\n", bk / 1024
    printf "  ratio ours/find: %.2f  (target <= 0.80: %s)\n", o / f, (o / f <= 0.8 ? "met" : "MISSED")
}'
