#!/usr/bin/env bash
# Builds the Debian package trotwise_<version>_<arch>.deb: the program with its desktop entry, icons,
# metainfo, manual page and copyright, depending on Debian's own packages. Build it once, install it
# on every station with `apt install ./trotwise_<version>_amd64.deb`.
#
#   scripts/package.sh [--built] [BUILD_FOLDER [OUT_FOLDER]]
#
# BUILD_FOLDER defaults to build/, OUT_FOLDER to the build folder; prints the package's path.
# --built packages the program as it is built there, without building (the tests' way).
# DEBFULLNAME and DEBEMAIL, when set, name the maintainer.
set -euo pipefail
cd "$(dirname "$0")/.."
built=false
[ "${1:-}" = --built ] && { built=true; shift; }
build=$(realpath -m "${1:-build}")
out=$(realpath -m "${2:-$build}")

if ! $built; then
  scripts/setup.sh
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" --parallel "$(nproc)" --target trotwise trotwise_icons
fi
# shellcheck source=/dev/null
. "$build/packaging/release.env" # version, release_date
arch=$(dpkg --print-architecture)
maintainer="${DEBFULLNAME:-Trotwise developers} <${DEBEMAIL:-trotwise@example.org}>"
# Every date in the package is the day of the release: the same source makes the same package.
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(date -u -d "$release_date" +%s)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
# Stripped as Debian's own packages are: no symbols, no compiler's notes.
strip --remove-section=.comment --remove-section=.note "$root/usr/bin/trotwise"

doc=$root/usr/share/doc/trotwise
cat >"$doc/changelog" <<CHANGES
trotwise ($version) stable; urgency=medium

  * Trotwise $version.

 -- $maintainer  $(date -u -R -d "$release_date")
CHANGES
gzip -9n "$doc/changelog" "$root/usr/share/man/man1/trotwise.1"

# Debian's rules for what a package holds: folders and the program 0755, every other file 0644,
# whatever the umask of whoever builds it.
find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root/usr/bin/trotwise"

# The libraries the program links, as Debian's packages name them (dpkg-shlibdeps reads them from
# the program), and what it loads that no link shows: Qt's two SQL drivers, plugins of Qt's that
# it opens by name, and the fonts its pages are laid out in.
mkdir "$work/debian"
printf 'Source: trotwise\n\nPackage: trotwise\nArchitecture: any\n' >"$work/debian/control"
shlibs=$(cd "$work" && dpkg-shlibdeps -O root/usr/bin/trotwise 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$shlibs" ] || { echo "dpkg-shlibdeps found no libraries in the program" >&2; exit 1; }

mkdir "$root/DEBIAN"
cat >"$root/DEBIAN/control" <<CONTROL
Package: trotwise
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)
Depends: $shlibs, libqt6sql6-sqlite, libqt6sql6-psql, fonts-liberation
Section: misc
Priority: optional
Description: show office of a one-day riding meet
 Trotwise runs the show office of a one-day state championship riding
 meet. Before the show the meet secretary keeps the roster: teams, coaches,
 riders, judges and rider numbers. During the show the entry booth enters
 riders into the classes, prints class sheets and slot sheets, keys in both
 judges' placings, and prints team standings and rider results.
 .
 Every printed page is shown in a preview first, from which it is printed,
 saved as a PDF or exported as CSV; the results can be published as plain
 web pages. One station works on a meet file; several stations can share a
 meet kept by a PostgreSQL server.
CONTROL
(cd "$root" && find usr -type f -printf '%P\n' | LC_ALL=C sort | sed 's|^|usr/|' | xargs md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

mkdir -p "$out"
deb=$out/trotwise_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb.part" >/dev/null
mv -f "$deb.part" "$deb"
echo "$deb"
