#!/usr/bin/env bash
# Installs the Debian 12 packages that a purpose needs, and only those that are missing.
#   scripts/install-deps.sh build   compilers, CMake, the libraries the program links, and
#                                   apt-get source's access to Debian's pugixml source package,
#                                   which every build compiles
#   scripts/install-deps.sh test    build + GoogleTest, Google Benchmark, clang (fuzzing, the
#                                   sanitizer build, over GCC's libstdc++ as Qt is built),
#                                   clang-tidy and clang-format (the checks of the code),
#                                   mingw-w64 and Wine (the Windows build and its tests) with Wine's own
#                                   fonts (the title bars of its windows), unzip (the
#                                   check of the Windows archive), xmllint
#                                   (a strict XML reader for the files the tests save);
#                                   and, where this machine runs 32-bit programs
#                                   (scripts/probe-32bit.sh), the 32-bit Wine (wine32:i386) for
#                                   the tests of the 32-bit Windows build; ansible-core (the run
#                                   of the example playbook)
# Safe to run again: it does nothing when everything is in place. The 32-bit Wine is a bonus: when
# it cannot be had the script says why and goes on, and leaves no i386 architecture behind.
set -euo pipefail

purpose=${1:-build}

build_packages=(cmake ninja-build g++ pkg-config libpugixml-dev dpkg-dev libsqlite3-dev
                qt6-base-dev qt6-svg-dev fonts-crosextra-caladea fonts-inconsolata
                fonts-dejavu-core fonts-liberation2 xvfb xauth)
test_packages=("${build_packages[@]}" libgtest-dev libgmock-dev libbenchmark-dev clang
               libclang-rt-14-dev clang-tidy clang-format locales libxml2-utils
               googletest g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64
               unzip fonts-wine ansible-core valgrind)

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

# apt-get update, tried again a few times (a mirror may be in the middle of a sync). When it still
# fails only over the i386 indices (while the 32-bit Wine is installed), the amd64 packages are
# still to be had: it says so and goes on.
apt_update() {
    local log tries
    log=$(mktemp)
    for tries in 1 2 3; do
        if as_root apt-get update -qq 2>"$log"; then
            rm -f "$log"
            return 0
        fi
        [ "$tries" -eq 3 ] || sleep 10
    done
    cat "$log" >&2
    # Each index that failed has a line naming it; one more line sums them up.
    if grep -E '^(E|W):' "$log" | grep -v 'Some index files failed to download' | grep -qv 'i386'; then
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
    echo "apt-get update: only the i386 indices failed; going on with the others"
}

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    apt_update
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

# Every build compiles Debian's own pugixml source package (cmake/Q7NPugixmlSource.cmake), which
# apt-get source fetches: it needs deb-src entries, added in a file of their own. They are the
# machine's own deb entries with deb-src for their type (scripts/derive-deb-src.sh), so a machine
# behind a mirror or a proxy keeps its own; the file is written again when the machine's entries
# changed, which also replaces the one that earlier scripts wrote.
deb_src_file=/etc/apt/sources.list.d/q7n-deb-src.sources
deb_src=$("$(dirname "$0")/derive-deb-src.sh" /etc/apt)
if [ -z "$deb_src" ]; then
    echo "No deb entry in this machine's apt sources to derive a deb-src entry from" >&2
elif { [ -f "$deb_src_file" ] && [ "$(cat "$deb_src_file")" != "$deb_src" ]; } ||
    { [ ! -f "$deb_src_file" ] && [ -z "$(apt-cache showsrc pugixml 2>/dev/null)" ]; }; then
    echo "Adding the deb-src entries of this machine's apt sources"
    printf '%s\n' "$deb_src" | as_root tee "$deb_src_file" >/dev/null
    apt_update
fi

# The float tests read numbers written with a decimal comma under a Russian locale.
if [ "$purpose" = test ] && ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    as_root localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi

# The 32-bit Wine, for the tests of the 32-bit Windows build, where this machine runs 32-bit
# programs. Debian's wine32 is an i386 package: the i386 architecture is added for it, and taken
# away again with whatever came with the try when the try fails, so that the next apt-get update
# and the amd64 installs work as before. Tries are bounded to about two minutes in all.
# Q7N_WINE32_PACKAGE and Q7N_WINE32_TRY_SECONDS change the package and the bound, so that a failed
# try and its undoing can be tried (a package that does not exist, a few seconds).
# The i386 packages that dpkg knows as more than not installed (half-installed and config-files
# included: any of them keeps dpkg from taking the architecture away).
i386_packages() {
    dpkg-query -W -f='${binary:Package} ${db:Status-Abbrev}\n' 2>/dev/null |
        awk '$1 ~ /:i386$/ && substr($2, 2, 1) != "n" { print $1 }'
}
install_wine32() {
    local deadline=$((SECONDS + ${Q7N_WINE32_TRY_SECONDS:-120})) added=
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
        added=yes
    fi
    local before
    before=$(i386_packages)
    # An update that fails over a mirror mid-sync may still have fetched what the install needs.
    until { as_root apt-get update -qq || true
            DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
                "${Q7N_WINE32_PACKAGE:-wine32:i386}"
          } </dev/null; do
        if [ $SECONDS -ge $deadline ]; then
            echo "32-bit Wine: not installed within ${Q7N_WINE32_TRY_SECONDS:-120} s; taking the try back"
            local came
            came=$(comm -13 <(echo "$before" | sort) <(i386_packages | sort))
            if [ -n "$came" ]; then
                # shellcheck disable=SC2086
                DEBIAN_FRONTEND=noninteractive as_root apt-get purge -y -qq $came || true
            fi
            if [ -n "$added" ] && [ -z "$(i386_packages)" ]; then
                as_root dpkg --remove-architecture i386 || true
                as_root apt-get update -qq || true
            fi
            return 1
        fi
        sleep 15
    done
}
if [ "$purpose" = test ] && [ ! -x /usr/lib/wine/wine ]; then
    if reason=$("$(dirname "$0")/probe-32bit.sh"); then
        echo "Installing the 32-bit Wine (wine32:i386): this machine runs 32-bit programs"
        install_wine32 || true
    else
        echo "Not installing the 32-bit Wine: $reason"
    fi
fi
