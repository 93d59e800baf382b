#!/usr/bin/env bash
# Renders the configurator's three windows and its two message boxes to PNG under a virtual X
# display (Xvfb), into docs/images (or the folder given), the main window and the port editor
# also at 144 dpi (NAME-144.png), then the same five of the Windows program under Wine
# (NAME-win32.png), and its main window and port editor at 144 dpi (NAME-win32-144.png). The main
# windows show the stand-in service running,
# installed and started beforehand.
#   scripts/render-windows.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$(realpath -m "${1:-docs/images}")

scripts/install-deps.sh test
cmake --preset programs >/dev/null
cmake --build --preset programs -j "$(nproc)" \
    --target q7n_render_windows q7n_service_console q7n_fixture_service q7n_screenshot

build=$PWD/build/programs
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
scripts/stage-service.sh "$build/platform/q7n_fixture_service" "$scratch"
export Q7N_MACHINE_DB="$scratch/machine.sqlite"
cd "$scratch"
printf 'install\nstart\n' | "$build/cli/q7n_service_console" >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tools/q7n_render_windows" "$out"
# The main window and the port editor as Qt scales them for 144 dpi.
QT_SCALE_FACTOR=1.5 xvfb-run -a -s "-screen 0 1920x1536x24" \
    "$build/tools/q7n_render_windows" "$scratch/144" >/dev/null
cp "$scratch/144/main-window.png" "$out/main-window-144.png"
cp "$scratch/144/port-editor.png" "$out/port-editor-144.png"
printf 'uninstall\n' | "$build/cli/q7n_service_console" >/dev/null

# The same main window and boxes of the Windows program, drawn by Wine on a virtual display, with
# the Windows fixture service installed and started in Wine's service manager.
cd "$root"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target q7n_render_windows_win32 q7n_fixture_service
scripts/stage-service.sh "$root/build/win64/platform/q7n_fixture_service.exe" "$scratch"
cd "$scratch"
touch started
export WINEPREFIX=$scratch/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
"$wine" wineboot --init >/dev/null 2>&1
# Wine draws the buttons of its title bars in Marlett and its dialogs in Tahoma; a new prefix does
# not take them from Debian's fonts-wine by itself.
cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# Without a window manager Wine should place its windows itself, or each waits for one.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true
# Everything of Wine runs on the virtual display: its desktop takes the display it starts on.
export Q7N_SERVICE="Z:$(printf '%s' "$scratch/Install/Q7NService.exe" | tr / '\\')"
export Q7N_RENDER=$root/build/win64/tools/q7n_render_windows_win32.exe
export Q7N_SHOT=$build/tools/q7n_screenshot Q7N_OUT=$out Q7N_WINE=$wine
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    "$Q7N_WINE" sc create Q7NSrv binpath= "\"$Q7N_SERVICE\"" >/dev/null 2>&1
    # Wine'"'"'s service manager refuses starts for a few seconds after it boots.
    for _ in $(seq 60); do
        "$Q7N_WINE" sc start Q7NSrv >/dev/null 2>&1 && break
        sleep 1
    done
    # Line by line as the windows come (the lines end in CR LF).
    "$Q7N_WINE" "$Q7N_RENDER" | while read -r name left top width height; do
        "$Q7N_SHOT" "$Q7N_OUT/$name.png" "$left" "$top" "$width" "$(echo "$height" | tr -d "\r")" ||
            exit 1
    done || exit 1
    "$Q7N_WINE" sc stop Q7NSrv >/dev/null 2>&1'
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true
# The main window and the port editor again at 144 dpi, as a prefix with LogPixels 144 shows them.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true
xvfb-run -a -s "-screen 0 2560x1600x24" sh -c '
    "$Q7N_WINE" sc start Q7NSrv >/dev/null 2>&1
    "$Q7N_WINE" "$Q7N_RENDER" 144 | while read -r name left top width height; do
        "$Q7N_SHOT" "$Q7N_OUT/$name.png" "$left" "$top" "$width" "$(echo "$height" | tr -d "\r")" ||
            exit 1
    done || exit 1
    "$Q7N_WINE" sc stop Q7NSrv >/dev/null 2>&1'
/usr/lib/wine/wineserver -k 2>/dev/null || true
# Every window of the Windows program was pictured in this run.
for name in main-window port-list-editor port-editor confirmation-box error-box \
    main-window-win32-144 port-editor-win32-144; do
    case $name in *-144) ;; *) name=$name-win32 ;; esac
    if [ ! "$out/$name.png" -nt "$scratch/started" ]; then
        echo "render-windows: no new picture $out/$name.png" >&2
        exit 1
    fi
done
