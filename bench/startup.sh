#!/usr/bin/env bash
# Times the main window's appearance with 100,000 site entries in LocalPath that all share one
# folder name (the case that made every site's menu item search for a free name), against a
# LocalPath of one site in the same run. Reports both and the time per site, and fails above 20 us
# a site: it must stay linear. Medians of RUNS runs (default 5). Usage: bench/startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
build_dir=${BENCH_BUILD_DIR:-build-bench}

scripts/install-deps
scripts/build "$build_dir" -DCMAKE_BUILD_TYPE=Release -DALLCHECK_BENCH=ON --target startup_bench
work=$(mktemp -d "${TMPDIR:-/tmp}/allcheck-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime # Qt wants one; a desktop-less machine has none
QT_QPA_PLATFORM=offscreen "$build_dir/bench/startup/startup_bench" "$runs"
