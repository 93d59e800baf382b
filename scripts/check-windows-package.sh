#!/usr/bin/env bash
# Checks a Windows release archive, 64-bit (...-win64.zip) or 32-bit (...-win32.zip): it holds the
# three programs, the README with the documents of docs/ and the third-party notices; the programs
# are of the archive's bitness, stripped, and import nothing but Windows' own DLLs, nothing that
# Windows 7 lacks (scripts/check-windows-imports.sh); and, under Wine in a fresh prefix, q7nctl.exe, the service
# console and q7nconfig.exe each start from a folder with nothing beside them and end cleanly. The
# 32-bit programs are run only where the 32-bit Wine runs (scripts/probe-32bit.sh); elsewhere one
# line says why they were not.
#   scripts/check-windows-package.sh ZIP
#   scripts/check-windows-package.sh --make BUILD_FOLDER   runs CPack on the build first
# WINE, WINESERVER and CPACK name the programs when they are not the usual ones.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
# Any mingw-w64 binutils read the programs of both bitnesses.
objdump=x86_64-w64-mingw32-objdump
nm=x86_64-w64-mingw32-nm

scratch=$(mktemp -d)
prefix=$scratch/wineprefix
cleanup() {
    WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "check-windows-package: $*" >&2
    exit 1
}

if [ "${1:-}" = --make ]; then
    "${CPACK:-cpack}" --config "$2/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 ||
        { cat "$scratch/cpack.log"; fail "CPack failed"; }
    zip=$(find "$scratch/package" -maxdepth 1 -name '*.zip')
else
    zip=$1
fi
[ -f "$zip" ] || fail "no archive $zip"

# Everything in one folder named after the archive.
top=$(basename "$zip" .zip)
case "$top" in
*-win64) format=pei-x86-64 bits=64 wine=${WINE:-/usr/lib/wine/wine64} ;;
*-win32) format=pei-i386 bits=32 wine=${WINE:-/usr/lib/wine/wine} ;;
*) fail "$zip is named for neither 64-bit (-win64) nor 32-bit (-win32) Windows" ;;
esac
expected=$({
    printf '%s\n' README.md THIRD-PARTY-NOTICES.txt q7n_service_console.exe q7nconfig.exe q7nctl.exe
    (cd "$here/.." && find docs -type f && find examples -type f -not -path '*/tests/*')
} | sed "s|^|$top/|" | sort)
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
[ "$listed" = "$expected" ] || fail "$zip holds
$listed
instead of
$expected"
unzip -q "$zip" -d "$scratch/unpacked"
files=$scratch/unpacked/$top

# The licences that the statically linked code asks to travel with the programs.
notices=$files/THIRD-PARTY-NOTICES.txt
grep -q 'Copyright (c) 2006-2022 Arseny Kapoulkine' "$notices" || fail "pugixml's licence is missing"
grep -q 'GCC RUNTIME LIBRARY EXCEPTION' "$notices" || fail "GCC's runtime library exception is missing"
grep -q 'mingw-w64' "$notices" || fail "mingw-w64's runtime notices are missing"

for program in q7nconfig q7nctl q7n_service_console; do
    exe=$files/$program.exe
    "$objdump" -f "$exe" | grep -q "file format $format\$" || fail "$program.exe is no $bits-bit program"
    [ -z "$("$nm" "$exe" 2>/dev/null)" ] || fail "$program.exe is not stripped"
    # Statically linked: no runtime DLL of the compiler (libstdc++-6.dll, libwinpthread-1.dll...).
    dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
    if echo "$dlls" | grep -iq '^lib'; then
        fail "$program.exe needs DLLs that Windows does not have: $(echo "$dlls" | grep -i '^lib')"
    fi
done

# Nothing that Windows 7 lacks: the list that the builds' own test applies.
OBJDUMP=$objdump "$here/check-windows-imports.sh" "$files/q7nconfig.exe" "$files/q7nctl.exe" \
    "$files/q7n_service_console.exe" >/dev/null || fail "a program imports what Windows 7 lacks"

if [ "$bits" = 32 ]; then
    if ! why=$("$here/probe-32bit.sh"); then
        echo "$zip: the programs, README, docs and notices; the programs not run: $why"
        exit 0
    elif [ ! -x "$wine" ]; then
        echo "$zip: the programs, README, docs and notices; the programs not run: no 32-bit Wine ($wine)"
        exit 0
    fi
fi

# Each program alone in a folder of its own, in a fresh (64-bit) prefix without display.
sh "$here/../cmake/wine-run.sh" setup "$prefix" "$wine" "$wineserver" ||
    fail "no Wine prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
alone() {
    mkdir -p "$scratch/alone-$1"
    cp "$files/$1.exe" "$scratch/alone-$1/"
    cd "$scratch/alone-$1"
}

alone q7nctl
"$wine" q7nctl.exe --help >help.txt 2>&1 </dev/null || { cat help.txt; fail "q7nctl --help failed"; }
grep -q '^Usage: q7nctl' help.txt || { cat help.txt; fail "q7nctl --help printed no usage"; }

alone q7n_service_console
printf 'state\nquit\n' | "$wine" q7n_service_console.exe >console.txt 2>&1 ||
    { cat console.txt; fail "the service console failed"; }

# The configurator runs until its window is closed: close it as the task list does, once its
# windows are there, and expect a clean end.
alone q7nconfig
"$wine" q7nconfig.exe >q7nconfig.txt 2>&1 </dev/null &
configurator=$!
closed=
for _ in $(seq 60); do
    kill -0 "$configurator" 2>/dev/null || break
    if "$wine" taskkill /im q7nconfig.exe >/dev/null 2>&1; then
        closed=yes
    fi
    sleep 0.5
done
if kill -0 "$configurator" 2>/dev/null; then
    kill "$configurator"
    fail "q7nconfig.exe did not end within 30 s of being asked to close"
fi
status=0
wait "$configurator" || status=$?
[ -n "$closed" ] || { cat q7nconfig.txt; fail "q7nconfig.exe ended (status $status) before it showed a window"; }
[ "$status" -eq 0 ] || { cat q7nconfig.txt; fail "q7nconfig.exe ended with status $status"; }
echo "$zip: the programs, README, docs and notices; each program starts alone under Wine"
