#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks its control
# fields, its files and what lintian says of it.
#   check-debian-package.sh BUILD_FOLDER VERSION
set -euo pipefail
build=$1 version=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >/dev/null) || fail "cpack"
deb="$out/zidevavi_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb"

dpkg-deb -I "$deb"
[ "$(dpkg-deb -f "$deb" Package)" = zidevavi ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
# The linked Qt libraries come from dpkg-shlibdeps; the plugins and the
# translations the program loads at run time are named by hand.
for package in libqt6widgets6 libqt6svg6 libqt6sql6-sqlite qt6-translations-l10n; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package"
done
diff -u <(sed 's|^|usr/|' "$here/installed-files.txt") \
    <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | LC_ALL=C sort) \
    || fail "packaged files differ from installed-files.txt"

lintian --fail-on error,warning "$deb" || fail "lintian"
