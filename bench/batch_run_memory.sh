#!/usr/bin/env bash
# Peak memory of the program's batch run (Linux) over 100 generated pages whose reports total
# 400 MB (a checker that writes 4 MB for each page), against the same run with reports of 200
# bytes, measured in the same session: the baseline shows what the program holds whatever the
# reports. Also the time per page of both. Target: below 64 MB with the large reports, that is,
# memory that no longer grows with the combined report.
# Usage: bench/batch_run_memory.sh
set -euo pipefail
cd "$(dirname "$0")/.."
pages=100
report_bytes=$((4 * 1024 * 1024))
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
mkdir -p "$work/program" "$work/out"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
bench/generate-site "$site" "$pages" >/dev/null

out=$work/out/out.txt
# Prints "<seconds> <pages> <peak KiB>" of one run; each run starts from nothing.
run() {
    rm -f "$work/out/"*
    "$bench" memory "$work/program/" "$site" "$out" "'$checker' '$out' $1"
}
small=$(run 200) && large=$(run "$report_bytes") || { echo "a run failed" >&2; exit 1; }
read -r t_small n_small m_small <<<"$small"
read -r t_large n_large m_large <<<"$large"
((n_small == pages && n_large == pages)) || { echo "the scan did not list $pages pages" >&2; exit 1; }
combined=$(stat -c %s "$out")
awk -v ts="$t_small" -v tl="$t_large" -v ms="$m_small" -v ml="$m_large" -v p="$pages" \
    -v c="$combined" 'BEGIN {
    printf "%d pages, combined report %.0f MB:\n", p, c / 1e6
    printf "  reports of 200 bytes (baseline)  peak %6.1f MB   %7.2f ms per page\n", ms / 1024, ts * 1000 / p
    printf "  reports of 4 MB                  peak %6.1f MB   %7.2f ms per page\n", ml / 1024, tl * 1000 / p
    printf "  peak with 4 MB reports / baseline: %.2f; below 64 MB: %s\n", ml / ms,
           (ml / 1024 < 64 ? "met" : "MISSED")
}'
