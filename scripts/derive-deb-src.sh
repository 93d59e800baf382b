#!/usr/bin/env bash
# Prints, as deb822 stanzas, the deb-src entries that match this machine's own apt sources: the
# same archives, suites, components and keys as its deb entries, so that a machine behind a mirror
# or a proxy fetches source packages from where it fetches the rest. Reads APT_DIR (/etc/apt unless
# given): sources.list, sources.list.d/*.list and sources.list.d/*.sources, leaving out our own
# file (q7n-deb-src.sources), entries that are off and deb822 stanzas that are of both types. Prints nothing when there is no deb entry.
set -euo pipefail
apt_dir=${1:-/etc/apt}

files=()
[ -f "$apt_dir/sources.list" ] && files+=("$apt_dir/sources.list")
for file in "$apt_dir"/sources.list.d/*.list "$apt_dir"/sources.list.d/*.sources; do
    [ -f "$file" ] && [ "$(basename "$file")" != q7n-deb-src.sources ] && files+=("$file")
done
[ ${#files[@]} -gt 0 ] || exit 0

for file in "${files[@]}"; do
    case "$file" in
    *.sources)
        # deb822: stanzas apart by blank lines; a field may go on over lines that begin with a
        # blank (an inline key). Types becomes deb-src; Architectures means nothing to sources. Each
        # stanza printed ends with a blank line; the last step keeps one between stanzas.
        awk '
            function flush() {
                if (has_deb && !has_src && !off)
                    printf "Types: deb-src\n%s\n", body
                body = ""; has_deb = 0; has_src = 0; off = 0; skipping = 0
            }
            /^[ \t]*$/ { flush(); next }
            /^#/ { next }
            /^[ \t]/ { if (!skipping) body = body $0 "\n"; next }
            {
                field = tolower($1); skipping = 0
                if (field == "types:") {
                    # A stanza of both types serves the sources already.
                    for (i = 2; i <= NF; i++) {
                        if ($i == "deb") has_deb = 1
                        if ($i == "deb-src") has_src = 1
                    }
                    skipping = 1
                } else if (field == "enabled:") {
                    if (tolower($2) == "no") off = 1
                    skipping = 1
                } else if (field == "architectures:") {
                    skipping = 1
                } else {
                    body = body $0 "\n"
                }
            }
            END { flush() }
        ' "$file"
        ;;
    *)
        # One-line entries: deb [options] URI suite [component...]; each ends with a blank line.
        awk '
            $1 != "deb" { next }
            {
                i = 2; signed = ""; trusted = ""
                if ($2 ~ /^\[/) {
                    options = ""
                    for (; i <= NF; i++) {
                        options = options " " $i
                        if ($i ~ /\]$/) { i++; break }
                    }
                    gsub(/[\[\]]/, "", options)
                    n = split(options, parts, " ")
                    for (k = 1; k <= n; k++) {
                        if (parts[k] ~ /^signed-by=/) signed = substr(parts[k], 11)
                        if (parts[k] == "trusted=yes") trusted = "yes"
                    }
                }
                print "Types: deb-src"
                print "URIs: " $i
                print "Suites: " $(i + 1)
                components = ""
                for (k = i + 2; k <= NF && $k !~ /^#/; k++) components = components (components ? " " : "") $k
                if (components) print "Components: " components
                if (signed) print "Signed-By: " signed
                if (trusted) print "Trusted: yes"
                print ""
            }
        ' "$file"
        ;;
    esac
done | awk 'NF { if (gap && out) print ""; print; out = 1; gap = 0; next } { gap = 1 }'
