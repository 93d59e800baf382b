#!/usr/bin/env bash
# Prints how many instructions the ports file's load and its turning into bytes take against
# pugixml's parse-and-walk and build-and-save to memory on the same files, as one line:
#   ratios: load1000=R save1000=R load10000=R save10000=R load100000=R save100000=R
# each ours over pugixml's, from callgrind's counts of the measured part alone (one run of each
# case, q7n_bench_ports_file --once=...). Builds the optimised benchmark first; everything but the
# line goes to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
{
    scripts/install-deps.sh test
    cmake --preset release -DQ7N_BENCHMARKS=ON
    cmake --build --preset release -j 2 --target q7n_bench_ports_file
} >&2
bench=build/release/bench/q7n_bench_ports_file
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The instructions that one run of the case took.
count() {
    valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$work/out" \
        "$bench" "--once=$1" >&2 2>"$work/log" || { cat "$work/log" >&2; exit 1; }
    awk '/^(summary|totals):/ { print $2; exit }' "$work/out"
}

line="ratios:"
for mappings in 1000 10000 100000; do
    load=$(count "DocumentLoad/$mappings")
    parse=$(count "PugixmlParseAndWalk/$mappings")
    bytes=$(count "DocumentToBytes/$mappings")
    build=$(count "PugixmlBuildToMemory/$mappings")
    echo "$mappings mappings: load $load / $parse, bytes $bytes / $build instructions" >&2
    line+=$(awk -v m="$mappings" -v l="$load" -v p="$parse" -v b="$bytes" -v u="$build" \
        'BEGIN { printf " load%s=%.2f save%s=%.2f", m, l / p, m, b / u }')
done
echo "$line"
