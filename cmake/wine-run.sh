#!/bin/sh
# Runs Windows test programs under Wine.
#   wine-run.sh setup    PREFIX WINE WINESERVER [SERVICE] makes a fresh prefix; with SERVICE (a
#                                                        service program), waits until Wine's
#                                                        service manager starts services
#   wine-run.sh run      PREFIX WINE WINESERVER PROGRAM [ARGS...]
#   wine-run.sh shutdown PREFIX WINE WINESERVER          stops the prefix's wineserver
set -u
action=$1 prefix=$2 wine=$3 wineserver=$4
shift 4
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
# No Mono and no Gecko: their installers would ask, and the tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

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
    log=$(mktemp)
    "$wine" "$@" >"$log" 2>&1 </dev/null
    rc=$?
    cat "$log"
    rm -f "$log"
    exit $rc
    ;;
shutdown)
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    exit 0
    ;;
esac
echo "usage: $0 setup|run|shutdown PREFIX WINE WINESERVER [PROGRAM ARGS...]" >&2
exit 2
