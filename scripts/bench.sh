#!/usr/bin/env bash
# Builds the optimised configuration and runs the benchmarks, printing their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
build/release/bench/q7n_bench_ports_file "$@"
