#!/usr/bin/env bash
# Installs what is missing, builds the configurator and runs it.
# It runs in build/demo, where a stand-in service program waits as Install/Q7NService.exe, so that
# "Install", "Старт" and the rest really install and start a service; the ports file is there too
# (two mappings at first), and the service listens on its local ports while it runs. On a machine
# without a display it runs on a virtual one (Xvfb) and saves a screenshot of it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build
cmake --preset programs >/dev/null
cmake --build --preset programs -j "$(nproc)" --target q7nconfig q7n_screenshot q7n_fixture_service \
    q7n_serial_ports_stand_in
build=$PWD/build/programs
# The machine's serial devices where the configurator looks for COM ports, as Windows lists them.
"$build/tools/q7n_serial_ports_stand_in"
scripts/stage-service.sh "$build/platform/q7n_fixture_service" build/demo scripts/demo/Q7NPorts.xml
cd build/demo

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/app/qt/q7nconfig"
fi

screenshot=$PWD/main-window.png
echo "No display here: running the configurator on a virtual X display (Xvfb)."
export Q7N_BUILD=$build Q7N_SCREENSHOT=$screenshot
# Qt wants a private runtime folder; a machine without a desktop session has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$Q7N_BUILD/app/qt/q7nconfig" &
    program=$!
    sleep 3
    if "$Q7N_BUILD/tools/q7n_screenshot" "$Q7N_SCREENSHOT"; then
        echo "Screenshot of the display, with the main window: $Q7N_SCREENSHOT"
    fi
    echo "The configurator runs on the virtual display; Ctrl+C ends it."
    wait $program'
