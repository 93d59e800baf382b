#!/usr/bin/env bash
# Installs what is missing, checks the layout of the code, builds every configuration and runs
# every test: the fuzzer for a bounded time, the sanitizer build, the Windows builds (the 64-bit one tested
# under Wine; the 32-bit one tested under the 32-bit Wine where this machine runs 32-bit programs
# and has it, compiled only elsewhere), then the debug build. Q7N_ASSUME_NO_32BIT=1 takes the path
# of a machine without 32-bit programs. The sanitizer build is clang's, warnings (a dropped
# [[nodiscard]] result among them) as errors in CI; clang-tidy then reads its compile commands.
# Q7N_PRESETS="asan dev" runs only the named configurations (and the clang-tidy step with asan);
# the format check always runs.
#   scripts/test.sh --quick   the quick loop: the same set-up and layout check, then the debug
#                             build alone with its tests (Q7N_PRESETS=dev)
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
    "") ;;
    --quick) export Q7N_PRESETS=dev ;;
    *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac

scripts/install-deps.sh test

# Warnings are errors in CI.
if [ "${CI:-}" = true ]; then export Q7N_WERROR=ON; fi

jobs=$(nproc)

echo "=== format: every C++ file as .clang-format lays it out"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

wanted() {
    [ -z "${Q7N_PRESETS:-}" ] || [[ " $Q7N_PRESETS " == *" $1 "* ]]
}

run_preset() {
    local preset=$1
    wanted "$preset" || return 0
    echo "=== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    echo "=== $preset: test"
    ctest --preset "$preset" -j "$jobs"
}

run_preset fuzz
run_preset asan
if wanted asan; then
    echo "=== clang-tidy: the toolkit-free code (.clang-tidy), with the asan build's compile commands"
    Q7N_JOBS=$jobs scripts/clang-tidy.sh build/asan
fi
run_preset win64
# Whether the 32-bit Windows tests can run here: 32-bit programs run, and the 32-bit Wine is there.
if ! no32=$(scripts/probe-32bit.sh); then
    :
elif [ ! -x /usr/lib/wine/wine ]; then
    no32="the 32-bit Wine (wine32:i386) is not installed: the set-up above says why"
else
    no32=
fi
if ! wanted win32; then
    :
elif [ -z "$no32" ]; then
    echo "32-bit Windows tests: run under /usr/lib/wine/wine (this machine runs 32-bit programs)"
    run_preset win32
else
    echo "32-bit Windows tests skipped: $no32"
    echo "=== win32: configure and build (compile only)"
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 -j "$jobs"
fi
run_preset dev
