#!/usr/bin/env bash
# Installs the Debian 12 packages that a purpose needs, and only those that are missing.
#   scripts/install-deps.sh build   compilers, CMake, the libraries the program links
#   scripts/install-deps.sh test    build + GoogleTest, Google Benchmark, clang (fuzzing, sanitizers)
#                                   and clang-format (the layout check),
#                                   mingw-w64 and Wine (the Windows build and its tests) with Wine's own
#                                   fonts (the title bars of its windows), unzip (the
#                                   check of the Windows archive), xmllint
#                                   (a strict XML reader for the files the tests save), and
#                                   apt-get source's access to Debian's pugixml source package
# Safe to run again: it does nothing when everything is in place.
set -euo pipefail

purpose=${1:-build}

build_packages=(cmake ninja-build g++ pkg-config libpugixml-dev libsqlite3-dev qt6-base-dev
                qt6-svg-dev fonts-crosextra-caladea fonts-inconsolata fonts-dejavu-core
                fonts-liberation2 xvfb xauth)
test_packages=("${build_packages[@]}" libgtest-dev libgmock-dev libbenchmark-dev clang
               libclang-rt-14-dev clang-format locales libxml2-utils
               googletest g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 dpkg-dev
               unzip fonts-wine)

case "$purpose" in
    build) wanted=("${build_packages[@]}") ;;
    test) wanted=("${test_packages[@]}") ;;
    *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac

as_root() {
    if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

# The Windows builds compile Debian's own pugixml source package (cmake/Q7NPugixmlSource.cmake),
# which apt-get source fetches: it needs a deb-src entry, added in a file of its own.
if [ "$purpose" = test ] && [ -z "$(apt-cache showsrc pugixml 2>/dev/null)" ]; then
    echo "Adding the deb-src entry for Debian's source packages"
    as_root tee /etc/apt/sources.list.d/q7n-deb-src.sources >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    as_root apt-get update -qq
fi

# The float tests read numbers written with a decimal comma under a Russian locale.
if [ "$purpose" = test ] && ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    as_root localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
