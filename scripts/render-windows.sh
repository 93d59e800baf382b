#!/usr/bin/env bash
# Renders the configurator's three windows and its two message boxes to PNG under a virtual X
# display (Xvfb), into docs/images (or the folder given). The main window shows the stand-in
# service running, installed and started through the service console beforehand.
#   scripts/render-windows.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/images}")

scripts/install-deps.sh build
cmake --preset release -DBUILD_TESTING=OFF -DQ7N_BENCHMARKS=OFF >/dev/null
cmake --build --preset release -j "$(nproc)" \
    --target q7n_render_windows q7n_service_console q7n_fixture_service

build=$PWD/build/release
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
scripts/stage-service.sh "$build/platform/q7n_fixture_service" "$scratch"
export Q7N_MACHINE_DB="$scratch/machine.sqlite"
cd "$scratch"
printf 'install\nstart\n' | "$build/cli/q7n_service_console" >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tools/q7n_render_windows" "$out"
printf 'uninstall\n' | "$build/cli/q7n_service_console" >/dev/null
