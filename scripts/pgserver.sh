#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests and the benchmark: a cluster of its own in DIR,
# reached only through a Unix socket in DIR (no TCP), run by an unprivileged user (the Debian
# package's "postgres" when started as root), with every local connection trusted.
#
#   scripts/pgserver.sh start DIR   creates the cluster when DIR holds none, starts it, and prints
#                                   the address of its "postgres" database
#   scripts/pgserver.sh stop DIR    stops it, keeping the cluster (start brings it back)
#   scripts/pgserver.sh cut DIR     stops it at once, as a power cut would: every connection dies
#                                   where it stands, no transaction finishes (start recovers it)
#   scripts/pgserver.sh clean DIR   stops it and removes DIR
set -euo pipefail

command=${1:-}
dir=${2:-}
if [ -z "$command" ] || [ -z "$dir" ]; then
  echo "usage: $0 start|stop|cut|clean DIR" >&2
  exit 2
fi

bin=/usr/lib/postgresql/15/bin
port=5432
data="$dir/data"

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case "$command" in
start)
  if [ ! -x "$bin/pg_ctl" ]; then
    echo "PostgreSQL 15 is not installed ($bin/pg_ctl is missing); scripts/setup.sh installs it" >&2
    exit 1
  fi
  mkdir -p "$dir"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir"; fi
  if [ ! -f "$data/PG_VERSION" ]; then
    as_owner "$bin/initdb" -D "$data" --auth=trust --username=postgres --encoding=UTF8 --locale=C \
      >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
  fi
  # Durability against a crash of the machine is not wanted from a server that lives for one
  # test run; a cut server still keeps every commit it confirmed (commits wait for their log).
  as_owner "$bin/pg_ctl" -D "$data" -l "$dir/server.log" -w -t 30 start \
    -o "-k $dir -p $port -c listen_addresses= -c fsync=off -c full_page_writes=off \
 -c max_connections=200" >/dev/null ||
    { tail -n 20 "$dir/server.log" >&2 || true; exit 1; }
  host=$(printf '%s' "$dir" | sed 's,/,%2F,g')
  echo "postgresql://postgres@$host:$port/postgres"
  ;;
stop)
  if [ -f "$data/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" -D "$data" -m fast -w stop >/dev/null
  fi
  ;;
cut)
  if [ -f "$data/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" -D "$data" -m immediate -w stop >/dev/null
  fi
  ;;
clean)
  if [ -f "$data/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" -D "$data" -m immediate -w stop >/dev/null || true
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start|stop|cut|clean DIR" >&2
  exit 2
  ;;
esac
