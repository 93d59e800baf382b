#!/usr/bin/env bash
# Makes the portable Windows release archive build/win64-release/package/q7nconfig-VERSION-win64.zip
# from the optimised, statically linked 64-bit build: q7nconfig.exe, q7nctl.exe and the service
# console q7n_service_console.exe, stripped, with the README and THIRD-PARTY-NOTICES.txt. Then it
# checks the archive (scripts/check-windows-package.sh, under Wine) and prints what it holds.
#   scripts/package-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
cmake --preset win64-release >/dev/null
cmake --build --preset win64-release -j "$(nproc)" \
    --target q7nconfig q7nctl q7n_service_console q7n_third_party_notices
rm -f build/win64-release/package/*.zip
cpack --preset win64-release
zip=$(find build/win64-release/package -maxdepth 1 -name 'q7nconfig-*.zip')
scripts/check-windows-package.sh "$zip"
unzip -l "$zip"
