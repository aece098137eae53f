#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as a desktop sees
# it: exactly the expected files, a menu entry and metadata the validators
# accept, PNG icons of the size their folder names, and a program that answers
# --version and --help in German and starts with a document.
#   check-installed-program.sh BUILD_FOLDER VERSION DOCUMENT
set -euo pipefail
build=$1 version=$2 document=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
diff -u "$here/installed-files.txt" <(cd "$prefix" && find . -type f -printf '%P\n' | LC_ALL=C sort) \
    || fail "installed files differ from installed-files.txt"

desktop-file-validate "$prefix"/share/applications/*.desktop || fail "desktop entry"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml || fail "AppStream metadata"
grep -q "<release version=\"$version\"" "$prefix"/share/metainfo/*.metainfo.xml \
    || fail "the metadata lists no release $version"
for png in "$prefix"/share/icons/hicolor/*x*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    file -b "$png" | grep -q "^PNG image data, ${size/x/ x }," || fail "not a $size PNG: $png"
done

export XDG_CONFIG_HOME="$prefix/config"
program="$prefix/bin/zidevavi"
# Answered without a display, as in a terminal on a server.
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version)
[ "$answer" = "Zidevavi $version" ] || fail "--version answered: $answer"
answer=$("$program" --help)
grep -q "^Aufruf: .*zidevavi \[Optionen\] \[datei...\]$" <<<"$answer" && grep -q "Zeigt Versionsinformation an." <<<"$answer" \
    || fail "--help answered: $answer"

# Started with a document, the program must still be running a moment later.
"$program" "$document" &
pid=$!
sleep 3
kill -0 "$pid" 2>/dev/null || { status=0; wait "$pid" || status=$?; fail "zidevavi ended at start, exit status $status"; }
kill "$pid"
wait "$pid" || true
