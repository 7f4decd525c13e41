#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests and benchmarks: a fresh cluster in a temporary
# folder, reachable only through a Unix socket in that folder, removed when it stops.
#
#   scripts/pg-server.sh run COMMAND [ARG...]   start a server, run COMMAND with BILLING_TEST_PG
#                                               set, stop the server; exits with COMMAND's status
#   source scripts/pg-server.sh                 defines pg_server_start and pg_server_stop:
#   pg_server_start; trap pg_server_stop EXIT   (pg_server_start exports BILLING_TEST_PG)
#
# BILLING_TEST_PG is a libpq URI for the superuser postgres on the database postgres (no
# password; only a role named billing_password_test must give one), and BILLING_TEST_PGBOUNCER the
# same through a PgBouncer in transaction pooling (scripts/pgbouncer-server.sh). As root the server
# runs as the postgres user, which PostgreSQL requires; otherwise as the current user.

source "$(dirname "${BASH_SOURCE[0]}")/pgbouncer-server.sh"

pg_server_bin_dir() {
    local newest
    newest=$(printf '%s\n' /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
    if [ -z "$newest" ] || [ ! -x "$newest/initdb" ]; then
        echo "pg-server: no PostgreSQL server in /usr/lib/postgresql (run scripts/setup.sh)" >&2
        return 1
    fi
    echo "$newest"
}

# Runs a server program as the user that owns the cluster, from inside the cluster's folder (the
# postgres user may not enter the caller's working directory).
pg_server_as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        (cd "$PG_SERVER_FOLDER" && runuser -u postgres -- "$@")
    else
        (cd "$PG_SERVER_FOLDER" && "$@")
    fi
}

# The socket lives in a folder of our own, so a port only needs to be unused there; a random one
# keeps the server's shared-memory key apart from other servers on the machine.
pg_server_pick_port() {
    echo $((20000 + RANDOM % 40000))
}

pg_server_start() {
    local bin_dir port
    bin_dir=$(pg_server_bin_dir) || return 1
    # /tmp rather than TMPDIR: the postgres user must reach it and a socket path must stay short.
    PG_SERVER_FOLDER=$(mktemp -d /tmp/491mx-pg.XXXXXX) || return 1
    PG_SERVER_BIN_DIR=$bin_dir
    mkdir "$PG_SERVER_FOLDER/socket"
    if [ "$(id -u)" -eq 0 ]; then
        chown -R postgres: "$PG_SERVER_FOLDER"
    fi
    if ! pg_server_as_owner "$bin_dir/initdb" --pgdata="$PG_SERVER_FOLDER/data" --username=postgres \
        --auth=trust --encoding=UTF8 --locale=C.UTF-8 --no-sync >"$PG_SERVER_FOLDER/initdb.log" 2>&1; then
        cat "$PG_SERVER_FOLDER/initdb.log" >&2
        pg_server_stop
        return 1
    fi
    # Everyone may log in without a password, except the role that tests of password refusals
    # create. Writing into the existing files keeps them the server's.
    cat >"$PG_SERVER_FOLDER/data/pg_hba.conf" <<EOF
local all billing_password_test scram-sha-256
local all all trust
EOF
    cat >>"$PG_SERVER_FOLDER/data/postgresql.conf" <<EOF
listen_addresses = ''
unix_socket_directories = '$PG_SERVER_FOLDER/socket'
EOF
    for _ in 1 2 3; do
        port=$(pg_server_pick_port)
        if pg_server_as_owner "$bin_dir/pg_ctl" --pgdata="$PG_SERVER_FOLDER/data" \
            --log="$PG_SERVER_FOLDER/server.log" --wait --timeout=60 -o "-p $port" start >/dev/null; then
            break
        fi
        port=""
    done
    if [ -z "$port" ] || ! pg_server_wait_until_answering "$port"; then
        echo "pg-server: the server did not start; its log:" >&2
        cat "$PG_SERVER_FOLDER/server.log" >&2
        pg_server_stop
        return 1
    fi
    export BILLING_TEST_PG="postgresql:///postgres?host=$PG_SERVER_FOLDER/socket&port=$port&user=postgres"
    echo "pg-server: PostgreSQL $("$bin_dir/postgres" --version | awk '{ print $3 }') at $BILLING_TEST_PG" >&2
    if ! pgbouncer_server_start "$port"; then
        pg_server_stop
        return 1
    fi
}

pg_server_wait_until_answering() {
    for _ in $(seq 1 100); do
        if "$PG_SERVER_BIN_DIR/pg_isready" --quiet --host="$PG_SERVER_FOLDER/socket" --port="$1" \
            --username=postgres --dbname=postgres; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Stops the server (if it runs) and removes its folder; safe to call more than once.
pg_server_stop() {
    if [ -z "${PG_SERVER_FOLDER:-}" ]; then
        return 0
    fi
    pgbouncer_server_stop
    if [ -f "$PG_SERVER_FOLDER/data/postmaster.pid" ]; then
        pg_server_as_owner "$PG_SERVER_BIN_DIR/pg_ctl" --pgdata="$PG_SERVER_FOLDER/data" \
            --mode=immediate --wait stop >/dev/null 2>&1 || true
    fi
    rm -rf "$PG_SERVER_FOLDER"
    PG_SERVER_FOLDER=""
    unset BILLING_TEST_PG
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    if [ "${1:-}" != run ] || [ $# -lt 2 ]; then
        echo "usage: scripts/pg-server.sh run COMMAND [ARG...]" >&2
        exit 2
    fi
    shift
    trap pg_server_stop EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    pg_server_start
    status=0
    "$@" || status=$?
    exit "$status"
fi
