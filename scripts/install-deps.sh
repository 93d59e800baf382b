#!/usr/bin/env bash
# Installs the Debian 12 packages that a purpose needs, and only those that are missing.
#   scripts/install-deps.sh build   compilers, CMake, the libraries the program links
#   scripts/install-deps.sh test    build + GoogleTest, Google Benchmark, clang (fuzzing, sanitizers),
#                                   mingw-w64 and Wine (the Windows build and its tests), xmllint
#                                   (a strict XML reader for the files the tests save)
# Safe to run again: it does nothing when everything is in place.
set -euo pipefail

purpose=${1:-build}

build_packages=(cmake ninja-build g++ pkg-config libpugixml-dev libsqlite3-dev qt6-base-dev
                qt6-svg-dev fonts-crosextra-caladea fonts-inconsolata fonts-dejavu-core
                fonts-liberation2 xvfb xauth)
test_packages=("${build_packages[@]}" libgtest-dev libgmock-dev libbenchmark-dev clang
               libclang-rt-14-dev locales libxml2-utils
               googletest g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64)

case "$purpose" in
    build) wanted=("${build_packages[@]}") ;;
    test) wanted=("${test_packages[@]}") ;;
    *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

# The float tests read numbers written with a decimal comma under a Russian locale.
if [ "$purpose" = test ] && ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
