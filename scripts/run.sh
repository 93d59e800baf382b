#!/usr/bin/env bash
# Installs what is missing, builds the configurator and runs it.
# Until the program itself exists, this builds the libraries and runs the ports-file demo, which
# writes a ports file with two mappings, reads it back and prints it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build
cmake --preset release -DBUILD_TESTING=OFF -DQ7N_BENCHMARKS=OFF >/dev/null
cmake --build --preset release -j "$(nproc)"
mkdir -p build/demo
exec build/release/ports/q7n_ports_demo build/demo/Q7NPorts.xml
