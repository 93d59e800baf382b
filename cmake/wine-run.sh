#!/bin/sh
# Runs Windows test programs under Wine.
#   wine-run.sh setup    PREFIX WINE WINESERVER          makes a fresh prefix
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
    [ $rc -eq 0 ] || cat "$prefix.log"
    exit $rc
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
