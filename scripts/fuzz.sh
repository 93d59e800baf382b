#!/usr/bin/env bash
# Runs the ports file loader's fuzzer for MINUTES (one job), starting from the corpus in
# fuzz/corpus/, then merges what it found into that corpus, minimised with libFuzzer's -merge=1,
# and prints the executions and the coverage at the end. Inputs with a name of their own (the
# hand-written seeds and the regression inputs) always stay; the rest are libFuzzer's, named by
# their SHA-1, and the merge keeps only those that add coverage. Commit fuzz/corpus/ afterwards.
# A failing input is kept in build/fuzz/fuzz/long-run/artifacts/ and the script exits with 1.
#
#   scripts/fuzz.sh MINUTES
set -euo pipefail

minutes=${1:-}
if ! [[ $minutes =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 MINUTES" >&2
    exit 2
fi
cd "$(dirname "$0")/.."

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2
fuzzer=build/fuzz/fuzz/q7n_fuzz_document
work=build/fuzz/fuzz/long-run
rm -rf "$work"
mkdir -p "$work/found" "$work/artifacts" "$work/merged"

echo "fuzzing for $minutes minute(s); the log is $work/fuzzer.log"
found_fault=0
# New inputs go to the first folder; fuzz/corpus is only read.
"$fuzzer" -max_total_time=$((minutes * 60)) -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -dict=fuzz/xml.dict -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
    "$work/found" fuzz/corpus >"$work/fuzzer.log" 2>&1 || found_fault=1

is_hashed() { [[ $(basename "$1") =~ ^[0-9a-f]{40}$ ]]; }
for input in fuzz/corpus/*; do
    is_hashed "$input" || cp "$input" "$work/merged/"
done
"$fuzzer" -merge=1 "$work/merged" fuzz/corpus "$work/found" >"$work/merge.log" 2>&1
before=$(ls fuzz/corpus | wc -l)
for input in fuzz/corpus/*; do
    if is_hashed "$input"; then rm "$input"; fi
done
for input in "$work"/merged/*; do
    if is_hashed "$input"; then cp "$input" fuzz/corpus/; fi
done

executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/fuzzer.log" | grep -o '[0-9]*$' || true)
coverage=$(grep -o 'cov: [0-9]*' "$work/fuzzer.log" | tail -1 | grep -o '[0-9]*$' || true)
echo "executions: ${executions:-?}"
echo "coverage: ${coverage:-?} edges"
echo "corpus: $before inputs before, $(ls fuzz/corpus | wc -l) after the merge"
if [ "$found_fault" = 1 ]; then
    grep -A12 -m1 'ERROR\|invariant broken\|runtime error' "$work/fuzzer.log" || tail -20 "$work/fuzzer.log"
    echo "the fuzzer found a failing input: $(ls "$work"/artifacts/)" >&2
    exit 1
fi
