#!/usr/bin/env bash
# Installs what building and testing Trotwise needs on Debian 12, when it is missing, and the
# packages named on the command line (scripts/screenshots.sh names what it needs besides).
# Works as root or through sudo, without questions.
set -euo pipefail

packages=(
  cmake ninja-build g++            # build
  qt6-base-dev libqt6sql6-sqlite   # Qt Widgets, Sql with its SQLite driver, PrintSupport, Test
  libsqlite3-dev                   # SQLite's online backup: snapshots of the meet
  fonts-liberation                 # metric-compatible stand-ins for Arial and Times New Roman
  poppler-utils                    # pdftotext/pdftoppm: the report tests read PDFs back
  postgresql libqt6sql6-psql       # a meet on a server: the tests' throwaway server, Qt's driver
  libpq-dev                        # the driver's client library: bounded waits, commits checked
  openssl                          # the test server's certificate, from a throwaway authority
  libqt6svg6                       # the icon's PNG sizes drawn from its SVG at build time
  dpkg-dev lintian desktop-file-utils appstream  # the Debian package: its dependencies, its checks
  pkg-config libqrencode-dev       # the QR code on the poster of the published results
  zbar-tools nginx                 # the tests read the poster's code back and serve the results folder
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo -n); fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

# Installing postgresql starts Debian's own cluster, and nginx Debian's own web server on port 80;
# nothing here uses them (the tests start servers of their own), so they are stopped again.
if [[ " ${missing[*]} " == *" postgresql "* ]] && command -v pg_ctlcluster >/dev/null; then
  "${sudo[@]}" pg_ctlcluster 15 main stop 2>/dev/null || true
fi
if [[ " ${missing[*]} " == *" nginx "* ]]; then
  "${sudo[@]}" systemctl disable --now nginx 2>/dev/null || "${sudo[@]}" service nginx stop 2>/dev/null || true
fi
