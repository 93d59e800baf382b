#!/usr/bin/env bash
# Builds the optimised configuration and runs the benchmarks, printing their figures: the ports
# file, q7nctl's "ports check", "ports list --json" and "doctor", and the service manager polls
# on the POSIX stand-in and, under Wine, on the Win32 backend.
#   scripts/bench.sh [ARGUMENTS FOR THE PORTS FILE BENCHMARK...]
# The windows: the main window's first paint, and the port list editor at 10,000 and 100,000
# mappings (open, delete half, close with OK), on Qt and, under Wine, the native one; the Win32
# main window under Wine and the size of q7nconfig.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake --preset release -DQ7N_BENCHMARKS=ON >/dev/null
cmake --build --preset release -j "$(nproc)"
build/release/bench/q7n_bench_ports_file "$@"

echo "=== q7nctl over 100,000 mappings"
build/release/bench/q7n_bench_ports_commands
echo "=== q7nctl ports apply that changes nothing, 256 mappings (goal under 20 ms)"
build/release/bench/q7n_bench_ports_apply
echo "=== q7nctl doctor, POSIX stand-in and /proc"
build/release/bench/q7n_bench_doctor

echo "=== windows"
build/release/app/qt/q7n_bench_main_window
build/release/dialogs/qt/q7n_bench_port_list_editor

echo "=== service manager, POSIX stand-in"
build/release/bench/q7n_bench_service_poll

echo "=== service manager, Win32 backend under Wine"
# The test build: the time goes into the calls to Wine's service manager, not into our code.
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target q7n_bench_service_poll q7n_bench_doctor \
    q7n_fixture_service q7n_bench_main_window_win32 q7nconfig
wine_script=cmake/wine-run.sh
prefix=build/win64/bench-wineprefix
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
sh "$wine_script" setup "$PWD/$prefix" "$wine" "$wineserver" \
    "$PWD/build/win64/platform/q7n_fixture_service.exe"
status=0
sh "$wine_script" run "$PWD/$prefix" "$wine" "$wineserver" \
    build/win64/bench/q7n_bench_service_poll.exe || status=$?
echo "=== q7nctl doctor under Wine"
sh "$wine_script" run "$PWD/$prefix" "$wine" "$wineserver" \
    build/win64/bench/q7n_bench_doctor.exe || status=$?
echo "=== the Win32 main window under Wine (null graphics driver)"
sh "$wine_script" run "$PWD/$prefix" "$wine" "$wineserver" \
    build/win64/app/win32/q7n_bench_main_window_win32.exe || status=$?
exe=build/win64/app/win32/q7nconfig.exe
stripped=$(mktemp)
x86_64-w64-mingw32-strip -o "$stripped" "$exe"
echo "q7nconfig.exe: $(stat -c %s "$exe") bytes as built (debug), $(stat -c %s "$stripped") stripped"
rm -f "$stripped"

echo "=== native port list editor under Wine"
# Optimised: the time goes into our code and the list view, as on a user's machine.
cmake --preset win64-release >/dev/null
cmake --build --preset win64-release -j "$(nproc)" --target q7n_bench_port_list_editor_win32
sh "$wine_script" run "$PWD/$prefix" "$wine" "$wineserver" \
    build/win64-release/dialogs/win32/q7n_bench_port_list_editor_win32.exe || status=$?
sh "$wine_script" shutdown "$PWD/$prefix" "$wine" "$wineserver"
exit $status
