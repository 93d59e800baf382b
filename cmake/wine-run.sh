#!/bin/sh
# Runs Windows test programs under Wine.
#   wine-run.sh setup    PREFIX WINE WINESERVER [SERVICE] makes a fresh prefix; with SERVICE (a
#                                                        service program), waits until Wine's
#                                                        service manager starts services
#   wine-run.sh run      PREFIX WINE WINESERVER PROGRAM [ARGS...]
#   wine-run.sh shutdown PREFIX WINE WINESERVER          stops the prefix's wineserver
#   wine-run.sh setup-x11    PREFIX WINE WINESERVER      starts a virtual X display of
#                                                        2560 x 1600 (Xvfb) and makes a fresh
#                                                        prefix that draws on it with Wine's X11
#                                                        driver, without a window manager
#   wine-run.sh run-x11      PREFIX WINE WINESERVER DPI PROGRAM [ARGS...]
#                                                        runs PROGRAM on that display at DPI
#                                                        (LogPixels), told to it in Q7N_DPI
#   wine-run.sh shutdown-x11 PREFIX WINE WINESERVER      stops its wineserver and its display
set -u
action=$1 prefix=$2 wine=$3 wineserver=$4
shift 4
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
# No Mono and no Gecko: their installers would ask, and the tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# Runs a Windows program, its output gathered and then printed, and exits with its status.
run_program() {
    log=$(mktemp)
    "$wine" "$@" >"$log" 2>&1 </dev/null
    rc=$?
    cat "$log"
    rm -f "$log"
    exit $rc
}

case "$action" in
setup)
    "$wineserver" -k 2>/dev/null
    rm -rf "$prefix"
    # Wine's own processes (wineserver, services.exe) live on after this; they must not hold
    # CTest's output pipe, or CTest would wait for them.
    "$wine" wineboot --init >"$prefix.log" 2>&1 </dev/null
    rc=$?
    if [ $rc -ne 0 ]; then
        cat "$prefix.log"
        exit $rc
    fi
    # Windows are drawn by Wine's null graphics driver: the tests need no X server.
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
        >>"$prefix.log" 2>&1 </dev/null || { cat "$prefix.log"; exit 1; }
    # A serial port, COM9 over /dev/null, that Wine's mount manager lists at its next start in
    # HARDWARE\DEVICEMAP\SERIALCOMM as Windows' serial drivers list theirs.
    "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM9 /d /dev/null /f \
        >>"$prefix.log" 2>&1 </dev/null || { cat "$prefix.log"; exit 1; }
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    [ $# -ge 1 ] || exit 0
    # The service manager starts Wine's own services after boot and refuses other starts
    # (ERROR_SERVICE_DATABASE_LOCKED) until it is done: wait until a probe service starts.
    probe="Z:$(printf '%s' "$1" | tr / '\\')"
    "$wine" sc create Q7NProbe binpath= "\"$probe\"" >>"$prefix.log" 2>&1 </dev/null
    tries=0
    until "$wine" sc start Q7NProbe >>"$prefix.log" 2>&1 </dev/null; do
        tries=$((tries + 1))
        if [ $tries -ge 90 ]; then
            cat "$prefix.log"
            echo "Wine's service manager did not start a service within 90 s" >&2
            exit 1
        fi
        sleep 1
    done
    echo "Wine's service manager took about $tries s to accept starts"
    "$wine" sc stop Q7NProbe >>"$prefix.log" 2>&1 </dev/null
    "$wine" sc delete Q7NProbe >>"$prefix.log" 2>&1 </dev/null
    exit 0
    ;;
run)
    run_program "$@"
    ;;
shutdown)
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    exit 0
    ;;
setup-x11)
    "$wineserver" -k 2>/dev/null
    # The display of a run that was cut short before its clean-up goes first.
    [ -s "$prefix.xvfb-pid" ] && kill "$(cat "$prefix.xvfb-pid")" 2>/dev/null
    rm -rf "$prefix" "$prefix.display" "$prefix.xvfb-pid"
    # The display number Xvfb chose itself, so that no other run's display is taken.
    Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$prefix.display" \
        </dev/null >"$prefix.log" 2>&1 &
    echo $! >"$prefix.xvfb-pid"
    for _ in $(seq 100); do
        [ -s "$prefix.display" ] && break
        sleep 0.1
    done
    [ -s "$prefix.display" ] || { cat "$prefix.log"; echo "Xvfb did not start within 10 s" >&2; exit 1; }
    export DISPLAY=":$(cat "$prefix.display")"
    "$wine" wineboot --init >>"$prefix.log" 2>&1 </dev/null || { cat "$prefix.log"; exit 1; }
    # With no window manager, Wine places and sizes its windows itself.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >>"$prefix.log" 2>&1 </dev/null || { cat "$prefix.log"; exit 1; }
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    exit 0
    ;;
run-x11)
    dpi=$1
    shift
    export DISPLAY=":$(cat "$prefix.display")" Q7N_DPI="$dpi"
    # Each process reads the DPI when it starts: set before the first, with nothing of the
    # prefix left running at the former one.
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1 </dev/null || exit 1
    run_program "$@"
    ;;
shutdown-x11)
    if [ -s "$prefix.display" ]; then
        DISPLAY=":$(cat "$prefix.display")" "$wineserver" -k 2>/dev/null
        "$wineserver" -w 2>/dev/null
    fi
    [ -s "$prefix.xvfb-pid" ] && kill "$(cat "$prefix.xvfb-pid")" 2>/dev/null
    rm -f "$prefix.xvfb-pid" "$prefix.display"
    exit 0
    ;;
esac
echo "usage: $0 setup|run|shutdown|setup-x11|run-x11|shutdown-x11 PREFIX WINE WINESERVER [PROGRAM ARGS...]" >&2
exit 2
