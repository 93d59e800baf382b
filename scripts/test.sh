#!/usr/bin/env bash
# Installs what is missing, checks the layout of the code, builds every configuration and runs
# every test: the fuzzer for a bounded time, the sanitizer build, the Windows builds (the 64-bit one tested
# under Wine; the 32-bit one tested under the 32-bit Wine where this machine runs 32-bit programs
# and has it, compiled only elsewhere), then the debug build. Q7N_ASSUME_NO_32BIT=1 takes the path
# of a machine without 32-bit programs.
#   scripts/test.sh --quick   the quick loop: the same set-up and layout check, then the debug
#                             build alone with its tests
set -euo pipefail
cd "$(dirname "$0")/.."

quick=false
case "${1:-}" in
    "") ;;
    --quick) quick=true ;;
    *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac

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

if $quick; then run_preset dev; exit 0; fi

run_preset fuzz
run_preset asan
run_preset win64
# Whether the 32-bit Windows tests can run here: 32-bit programs run, and the 32-bit Wine is there.
if ! no32=$(scripts/probe-32bit.sh); then
    :
elif [ ! -x /usr/lib/wine/wine ]; then
    no32="the 32-bit Wine (wine32:i386) is not installed: the set-up above says why"
else
    no32=
fi
if [ -z "$no32" ]; then
    echo "32-bit Windows tests: run under /usr/lib/wine/wine (this machine runs 32-bit programs)"
    run_preset win32
else
    echo "32-bit Windows tests skipped: $no32"
    echo "=== win32: configure and build (compile only)"
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 -j "$jobs"
fi
run_preset dev
