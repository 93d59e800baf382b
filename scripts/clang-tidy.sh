#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the toolkit-free code: base/, xmloptions/, ports/, settings/,
# service/ and the roots of app/, dialogs/ and windowing/ (not their qt/ and win32/ folders), with
# their tests. It reads the compile commands of a clang build, build/asan unless given, which must
# be configured (its generated headers written) first. Any finding fails it.
#   scripts/clang-tidy.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/asan}
if [ ! -f "$build/compile_commands.json" ]; then
    echo "clang-tidy: $build/compile_commands.json is missing: configure that build first" >&2
    exit 2
fi
root=$(pwd)
# run-clang-tidy takes regular expressions over the paths of the compile commands.
run-clang-tidy -quiet -p "$build" -j "${Q7N_JOBS:-$(nproc)}" \
    "^$root/(base|xmloptions|ports|settings|service)/.*\\.cpp\$" \
    "^$root/(app|dialogs|windowing)/(tests/|testsupport/)?[^/]+\\.cpp\$"
