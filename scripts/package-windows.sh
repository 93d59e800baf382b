#!/usr/bin/env bash
# Makes the portable Windows release archives from the optimised, statically linked builds:
#   build/win64-release/package/q7nconfig-VERSION-win64.zip   for 64-bit Windows
#   build/win32-release/package/q7nconfig-VERSION-win32.zip   for 32-bit Windows
# each with q7nconfig.exe, q7nctl.exe and the service console q7n_service_console.exe, stripped,
# with the README and THIRD-PARTY-NOTICES.txt. Then it checks each archive
# (scripts/check-windows-package.sh, under Wine where it can) and prints what it holds.
#   scripts/package-windows.sh [win64|win32]   both when none is named
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
presets=("$@")
((${#presets[@]})) || presets=(win64 win32)
for bits in "${presets[@]}"; do
    case "$bits" in
    win64 | win32) preset=$bits-release ;;
    *) echo "usage: $0 [win64|win32]" >&2; exit 2 ;;
    esac
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)" \
        --target q7nconfig q7nctl q7n_service_console q7n_third_party_notices
    rm -f "build/$preset/package/"*.zip
    cpack --preset "$preset"
    zip=$(find "build/$preset/package" -maxdepth 1 -name 'q7nconfig-*.zip')
    scripts/check-windows-package.sh "$zip"
    unzip -l "$zip"
done
