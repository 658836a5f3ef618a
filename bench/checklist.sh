#!/usr/bin/env bash
# Times the check list as the program fills it after a scan: 100,000 paths appended between
# BeginUpdate and EndUpdate, then every item set Checked with SetItemChecked, on a shown list.
# Reports time and heap bytes per item against appending the same paths to a std::vector, and
# the cost of painting one screen with 100,000 items against 100 (target: ratio about 1).
# Medians of RUNS runs (default 5). Usage: bench/checklist.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
build_dir=${BENCH_BUILD_DIR:-build-bench}

scripts/install-deps
scripts/build "$build_dir" -DCMAKE_BUILD_TYPE=Release -DALLCHECK_BENCH=ON --target checklist_bench
QT_QPA_PLATFORM=offscreen "$build_dir/bench/checklist/checklist_bench" "$runs"
