#!/usr/bin/env bash
# Builds the Windows program q7nconfig.exe (64-bit) and runs it under Wine, in build/demo-windows
# with a Wine prefix of its own, where the Windows fixture service waits as
# Install\Q7NService.exe, so that "Install", "Старт" and the rest really install and start a
# service in Wine's service manager; it listens on the local ports of the ports file there (two
# mappings at first). On a machine without a display it runs on a virtual one
# (Xvfb) and saves a screenshot of it as build/demo-windows/main-window.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh test
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target q7nconfig q7n_fixture_service
build=$PWD/build/win64
demo=$PWD/build/demo-windows
scripts/stage-service.sh "$build/platform/q7n_fixture_service.exe" "$demo" scripts/demo/Q7NPorts.xml
cp "$build/app/win32/q7nconfig.exe" "$demo/"
cd "$demo"

export WINEPREFIX=$demo/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
if [ ! -d "$WINEPREFIX" ]; then
    echo "Making a Wine prefix in $WINEPREFIX."
    "$wine" wineboot --init >/dev/null 2>&1
fi
# Wine draws the buttons of its title bars in Marlett and its dialogs in Tahoma; a new prefix does
# not take them from Debian's fonts-wine by itself.
cp -u /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# Without a window manager (Xvfb) Wine should place its windows itself, or each waits for one.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

if [ -n "${DISPLAY:-}" ]; then
    exec "$wine" q7nconfig.exe
fi

(cd "$root" && cmake --preset release -DBUILD_TESTING=OFF -DQ7N_BENCHMARKS=OFF >/dev/null &&
    cmake --build --preset release -j "$(nproc)" --target q7n_screenshot)
export Q7N_SCREENSHOT_TOOL=$root/build/release/tools/q7n_screenshot Q7N_SCREENSHOT=$demo/main-window.png
export Q7N_WINE=$wine
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
echo "No display here: running the configurator under Wine on a virtual X display (Xvfb)."
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$Q7N_WINE" q7nconfig.exe &
    program=$!
    sleep 8
    if "$Q7N_SCREENSHOT_TOOL" "$Q7N_SCREENSHOT"; then
        echo "Screenshot of the display, with the main window: $Q7N_SCREENSHOT"
    fi
    echo "The configurator runs under Wine on the virtual display; Ctrl+C ends it."
    wait $program'
