#!/usr/bin/env bash
# The deb-src entries derived from apt sources of each form, in a scratch folder standing for
# /etc/apt: deb822 stanzas (a disabled one, a deb-src one, one of both types, an inline key,
# Architectures) and one-line entries with options and comments; our own earlier file is left out.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
apt=$(mktemp -d)
trap 'rm -rf "$apt"' EXIT
mkdir -p "$apt/sources.list.d"
cat > "$apt/sources.list" <<'LIST'
# a comment
deb [arch=amd64 signed-by=/keys/mirror.gpg] http://mirror.invalid/debian bookworm main contrib # note
deb-src http://mirror.invalid/debian bookworm main
deb http://proxy.invalid:3142/security bookworm-security main
LIST
cat > "$apt/sources.list.d/local.sources" <<'SOURCES'
Types: deb
URIs: http://mirror.invalid/debian
Suites: bookworm-updates
Components: main
Architectures: amd64
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 abc
 -----END PGP PUBLIC KEY BLOCK-----

Types: deb
Enabled: no
URIs: http://off.invalid/debian
Suites: bookworm

Types: deb-src
URIs: http://sources-only.invalid/debian
Suites: bookworm

Types: deb deb-src
URIs: http://both.invalid/debian
Suites: bookworm
SOURCES
printf 'Types: deb-src\nURIs: http://earlier.invalid\nSuites: bookworm\n' > "$apt/sources.list.d/q7n-deb-src.sources"
echo 'deb http://disabled.invalid bookworm main' > "$apt/sources.list.d/other.list.disabled"

expected='Types: deb-src
URIs: http://mirror.invalid/debian
Suites: bookworm
Components: main contrib
Signed-By: /keys/mirror.gpg

Types: deb-src
URIs: http://proxy.invalid:3142/security
Suites: bookworm-security
Components: main

Types: deb-src
URIs: http://mirror.invalid/debian
Suites: bookworm-updates
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 abc
 -----END PGP PUBLIC KEY BLOCK-----'
actual=$("$here/derive-deb-src.sh" "$apt")
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") || true
    exit 1
fi
# No deb entry at all: nothing.
rm -f "$apt/sources.list" "$apt/sources.list.d/local.sources"
[ -z "$("$here/derive-deb-src.sh" "$apt")" ]
echo "deb-src entries derived as expected"
