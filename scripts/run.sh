#!/usr/bin/env bash
# Installs what is missing, builds the configurator and runs it.
# Until the windowed program exists, this runs the service console: it drives the configurator
# from standard input (install, uninstall, start, stop, restart, state, wait MS, quit) and prints
# every change of the service's state. It runs in build/demo, where a stand-in service program
# waits as Install/Q7NService.exe, so that the service can really be installed and started.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build
cmake --preset release -DBUILD_TESTING=OFF -DQ7N_BENCHMARKS=OFF >/dev/null
cmake --build --preset release -j "$(nproc)" --target q7n_service_console q7n_fixture_service
mkdir -p build/demo/Install
cp build/release/platform/q7n_fixture_service build/demo/Install/Q7NService.exe
cd build/demo
exec ../release/cli/q7n_service_console
