#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests and the benchmark: a cluster of its own in DIR, run
# by an unprivileged user (the Debian package's "postgres" when started as root), so DIR must be a
# folder that user can reach (the tests keep theirs in /tmp, whoever owns the checkout).
#
#   scripts/pgserver.sh start DIR   creates the cluster when DIR holds none, starts it, and prints
#                                   the address of its "postgres" database through its Unix socket
#   scripts/pgserver.sh stop DIR    stops it, keeping the cluster (start brings it back)
#   scripts/pgserver.sh cut DIR     stops it at once, as a power cut would: every connection dies
#                                   where it stands, no transaction finishes (start recovers it)
#   scripts/pgserver.sh clean DIR   stops it (and every cluster kept below DIR) and removes DIR
#   scripts/pgserver.sh pause DIR [SECONDS]
#                                   freezes the server's processes where they stand (SIGSTOP), as a
#                                   network that drops without a word looks to a station; they go
#                                   on by themselves after SECONDS (30) should nobody resume them
#   scripts/pgserver.sh resume DIR  lets them go on (SIGCONT)
#   scripts/pgserver.sh standby DIR makes DIR/standby a streaming standby of the running server in
#                                   DIR, confirmed saves waiting for it (synchronous replication),
#                                   starts it and prints its address
#   scripts/pgserver.sh promote DIR turns DIR/standby into a server that accepts writes
#
# Every local connection is trusted. Besides its socket, a cluster listens on localhost on a port
# of its own (in DIR/port, taken from the folder's name, so that the clusters of several build
# folders differ), with TLS: a certificate for "localhost" signed by a throwaway authority whose
# certificate is DIR/ca.crt. Over TCP the role "trotwise" signs in with the password in
# DIR/password (scram-sha-256).
set -euo pipefail

command=${1:-}
dir=${2:-}
dir=${dir%/}
if [ -z "$command" ] || [ -z "$dir" ]; then
  echo "usage: $0 start|stop|cut|clean|pause|resume|standby|promote DIR" >&2
  exit 2
fi

bin=/usr/lib/postgresql/15/bin
self=$(readlink -f "$0")
data="$dir/data"
password=trotwise-test-password

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

# A port between 10000 and 29999 (below the kernel's ephemeral range) from the folder's name; the
# build's CMake takes the same one for the address it gives the tests.
port_of() {
  if [ -f "$1/port" ]; then
    cat "$1/port"
  else
    local hash
    hash=$(printf '%s' "$1" | sha1sum | cut -c1-4)
    echo $((10000 + 16#$hash % 20000))
  fi
}

address_of() {
  local host
  host=$(printf '%s' "$1" | sed 's,/,%2F,g')
  echo "postgresql://postgres@$host:$(port_of "$1")/postgres"
}

make_folder() {
  mkdir -p "$1"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$1"; fi
}

# The authority is made once per DIR (a standby is given its primary's), the server's certificate
# once per cluster. Neither is ever trusted beyond this folder.
make_certificates() {
  local d=$1
  if [ ! -f "$d/ca.crt" ]; then
    as_owner openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 30 \
      -subj "/CN=Trotwise test authority" -keyout "$d/ca.key" -out "$d/ca.crt" 2>/dev/null
  fi
  if [ ! -f "$d/server.crt" ]; then
    as_owner openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
      -subj "/CN=localhost" -keyout "$d/server.key" -out "$d/server.csr" 2>/dev/null
    printf 'subjectAltName=DNS:localhost\n' >"$d/server.ext"
    as_owner openssl x509 -req -in "$d/server.csr" -CA "$d/ca.crt" -CAkey "$d/ca.key" \
      -CAcreateserial -days 30 -extfile "$d/server.ext" -out "$d/server.crt" 2>/dev/null
    as_owner chmod 600 "$d/server.key"
  fi
  chmod 644 "$d/ca.crt"
}

write_hba() {
  cat >"$1/pg_hba.conf" <<'EOF'
local   all          all                  trust
local   replication  all                  trust
host    all          all    127.0.0.1/32  scram-sha-256
host    all          all    ::1/128       scram-sha-256
EOF
}

start_cluster() {
  local d=$1 port
  port=$(port_of "$d")
  if [ ! -f "$d/data/postmaster.pid" ] && ss -Hltn "sport = :$port" | grep -q .; then
    echo "port $port, which the cluster in $d listens on, is taken by another program" >&2
    exit 1
  fi
  echo "$port" >"$d/port"
  echo "$password" >"$d/password"
  # Durability against a crash of the machine is not wanted from a server that lives for one
  # test run; a cut server still keeps every commit it confirmed (commits wait for their log).
  as_owner "$bin/pg_ctl" -D "$d/data" -l "$d/server.log" -w -t 30 start \
    -o "-k $d -p $port -c listen_addresses=localhost -c fsync=off -c full_page_writes=off \
 -c max_connections=200 -c ssl=on -c ssl_cert_file=$d/server.crt -c ssl_key_file=$d/server.key" \
    >/dev/null || { tail -n 20 "$d/server.log" >&2 || true; exit 1; }
}

psql_on() {
  local d=$1
  shift
  as_owner "$bin/psql" -X -q -A -t -v ON_ERROR_STOP=1 -h "$d" -p "$(port_of "$d")" -U postgres \
    -d postgres "$@"
}

# Waits up to 30 s for a query on the cluster in $1 to answer "t".
wait_for() {
  local d=$1 query=$2
  for _ in $(seq 300); do
    [ "$(psql_on "$d" -c "$query" 2>/dev/null || true)" = t ] && return 0
    sleep 0.1
  done
  echo "the cluster in $d did not come to: $query" >&2
  exit 1
}

# The postmaster and its children, postmaster first (so that it starts no child unfrozen).
processes_of() {
  local pid
  [ -f "$1/data/postmaster.pid" ] || return 0
  pid=$(head -n 1 "$1/data/postmaster.pid")
  kill -0 "$pid" 2>/dev/null || return 0
  echo "$pid"
  pgrep -P "$pid" || true
}

resume() {
  local d=$1
  for pid in $( (cat "$d/paused" 2>/dev/null | tail -n +2) || true) $(processes_of "$d"); do
    kill -CONT "$pid" 2>/dev/null || true
  done
  rm -f "$d/paused"
}

# Stops the cluster in $1 with pg_ctl's mode $2 (a frozen server is let go first: it could not
# answer the signal otherwise).
stop_cluster() {
  resume "$1"
  if [ -f "$1/data/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" -D "$1/data" -m "$2" -w stop >/dev/null
  fi
}

case "$command" in
start)
  if [ ! -x "$bin/pg_ctl" ]; then
    echo "PostgreSQL 15 is not installed ($bin/pg_ctl is missing); scripts/setup.sh installs it" >&2
    exit 1
  fi
  make_folder "$dir"
  resume "$dir"
  if [ ! -f "$data/PG_VERSION" ]; then
    as_owner "$bin/initdb" -D "$data" --auth=trust --username=postgres --encoding=UTF8 --locale=C \
      >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    write_hba "$data"
  fi
  make_certificates "$dir"
  start_cluster "$dir"
  if [ ! -f "$data/standby.signal" ]; then
    psql_on "$dir" -c "DO \$\$ BEGIN
      IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'trotwise') THEN
        CREATE ROLE trotwise LOGIN CREATEDB PASSWORD '$password';
      END IF; END \$\$;"
  fi
  address_of "$dir"
  ;;
stop)
  stop_cluster "$dir" fast
  ;;
cut)
  stop_cluster "$dir" immediate
  ;;
clean)
  if [ -d "$dir" ]; then
    # Standbys (and any cluster a test kept below DIR) first, deepest first.
    for pidfile in $(find "$dir" -mindepth 2 -name postmaster.pid -path '*/data/postmaster.pid' |
      awk '{ print length($0) " " $0 }' | sort -rn | cut -d' ' -f2-); do
      stop_cluster "$(dirname "$(dirname "$pidfile")")" immediate || true
    done
  fi
  rm -rf "$dir"
  ;;
pause)
  seconds=${3:-30}
  resume "$dir"
  pids=$(processes_of "$dir")
  if [ -z "$pids" ]; then
    echo "no server is running in $dir" >&2
    exit 1
  fi
  token=$RANDOM$RANDOM
  for pid in $pids; do kill -STOP "$pid"; done
  { echo "$token"; echo "$pids"; } >"$dir/paused"
  # The watch lets the server go should the test that froze it die before it resumes it.
  setsid bash -c "sleep $seconds; [ \"\$(head -n 1 '$dir/paused' 2>/dev/null)\" = '$token' ] &&
    exec '$self' resume '$dir'" </dev/null >/dev/null 2>&1 &
  ;;
resume)
  resume "$dir"
  ;;
standby)
  standby="$dir/standby"
  stop_cluster "$standby" immediate
  rm -rf "$standby"
  make_folder "$standby"
  as_owner cp "$dir/ca.crt" "$dir/ca.key" "$standby/"
  make_certificates "$standby"
  as_owner "$bin/pg_basebackup" -D "$standby/data" -R -X stream -c fast -h "$dir" \
    -p "$(port_of "$dir")" -U postgres -d "application_name=standby"
  start_cluster "$standby"
  wait_for "$dir" "SELECT count(*) = 1 FROM pg_stat_replication WHERE state = 'streaming'"
  # Only now: a primary told to wait for a standby that is not there would hold every commit.
  psql_on "$dir" -c "ALTER SYSTEM SET synchronous_standby_names = 'standby'" -c "SELECT pg_reload_conf()" \
    >/dev/null
  wait_for "$dir" "SELECT count(*) = 1 FROM pg_stat_replication WHERE sync_state = 'sync'"
  address_of "$standby"
  ;;
promote)
  as_owner "$bin/pg_ctl" -D "$dir/standby/data" -w -t 30 promote >/dev/null
  ;;
*)
  echo "usage: $0 start|stop|cut|clean|pause|resume|standby|promote DIR" >&2
  exit 2
  ;;
esac
