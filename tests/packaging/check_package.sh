#!/usr/bin/env bash
# The Debian package as a station receives it: built from the build folder, checked by Debian's
# tools, unpacked into a folder of its own and run there offscreen with a fresh HOME, as root or as
# a plain user.
#
#   check_package.sh SOURCE_FOLDER BUILD_FOLDER VERSION APP_ID
set -euo pipefail
source_folder=$1 build=$2 version=$3 app_id=$4
work=$(mktemp -d)
program=
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$("$source_folder/scripts/package.sh" --built "$build" "$work")
[ "$(basename "$deb")" = "trotwise_${version}_$(dpkg --print-architecture).deb" ] || fail "package named $deb"

# What it holds, and what it needs that no link of the program shows.
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for f in usr/bin/trotwise "usr/share/applications/$app_id.desktop" usr/share/icons/hicolor/scalable/apps/trotwise.svg \
  usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/trotwise.png "usr/share/metainfo/$app_id.metainfo.xml" \
  usr/share/man/man1/trotwise.1.gz usr/share/doc/trotwise/copyright; do
  grep -qx "\./$f" <<<"$contents" || fail "the package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6sql6-sqlite libqt6sql6-psql fonts-liberation; do
  [[ ", $depends," == *", $p"[\ ,]* ]] || fail "Depends lacks $p: $depends"
done
apt-get install --simulate "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "its dependencies cannot be met"; }

# lintian: no error, and every warning named in the README with its reason.
lintian --no-cfg "$deb" >"$work/lintian.log" 2>/dev/null || true
grep '^E: ' "$work/lintian.log" && fail "lintian reports errors"
while read -r tag; do
  grep -q -- "\`$tag\`" "$source_folder/README.md" || fail "lintian warns $tag, which the README does not name"
done < <(sed -n 's/^W: [^ ]* \([^ ]*\).*/\1/p' "$work/lintian.log" | sort -u)

root=$work/root
dpkg-deb -x "$deb" "$root"
touch "$work/unpacked"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log"; fail "appstreamcli validate"; }

# The installed program, with a fresh HOME: its data folder is the user's, whatever rights we have
# on the folder it was unpacked into.
home=$work/home
mkdir "$home"
run() { env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen "$root/usr/bin/trotwise" "$@"; }
data=$home/.local/share/Trotwise
[ "$(run --version)" = "Trotwise $version" ] || fail "--version: $(run --version)"
[ "$(run --where)" = "$data" ] || fail "--where: $(run --where)"
run >"$work/program.log" 2>&1 &
program=$!
for _ in $(seq 100); do [ -f "$data/KORVState2006.mdb" ] && break; sleep 0.1; done
kill "$program"
wait "$program" 2>/dev/null || true
program=
[ -f "$data/KORVState2006.mdb" ] || { cat "$work/program.log"; fail "no meet in $data"; }
run --publish "$work/site" || fail "--publish"
grep -q "Trotwise $version" "$work/site/index.html" || fail "the published pages do not show the version"
[ -z "$(find "$root" -newer "$work/unpacked")" ] || fail "the program wrote beside itself: $(find "$root" -newer "$work/unpacked")"
echo "trotwise_${version} checked"
