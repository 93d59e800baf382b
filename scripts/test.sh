#!/usr/bin/env bash
# Installs what is missing, checks the layout of the code, builds every configuration and runs
# every test: the fuzzer for a bounded time, the sanitizer build, the Windows builds (the 64-bit one tested
# under Wine, the 32-bit one compiled only), then the debug build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

# Warnings are errors in CI.
if [ "${CI:-}" = true ]; then export Q7N_WERROR=ON; fi

jobs=$(nproc)

echo "=== format: every C++ file as .clang-format lays it out"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

run_preset() {
    local preset=$1
    echo "=== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    echo "=== $preset: test"
    ctest --preset "$preset" -j "$jobs"
}

run_preset fuzz
run_preset asan
run_preset win64
echo "=== win32: configure and build (compile only)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
run_preset dev
