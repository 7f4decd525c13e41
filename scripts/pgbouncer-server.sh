#!/usr/bin/env bash
# A throwaway PgBouncer in transaction pooling in front of the test server of scripts/pg-server.sh,
# which sources this file: pg_server_start starts it, pg_server_stop stops it. It listens only on a
# Unix socket in the server's folder and passes every database name on to the server.
#
# BILLING_TEST_PGBOUNCER is then a libpq URI for the superuser postgres on the database postgres
# through the pooler. PgBouncer refuses to run as root: as root it runs as the postgres user, as the
# server does.

pgbouncer_server_start() {
    if [ ! -x /usr/sbin/pgbouncer ]; then
        echo "pgbouncer-server: PgBouncer is missing (run scripts/setup.sh)" >&2
        return 1
    fi
    local folder=$PG_SERVER_FOLDER/pgbouncer port
    mkdir "$folder"
    port=$(pg_server_pick_port)
    # Any user the server knows may pass; the server does the checking.
    echo '"postgres" ""' >"$folder/users.txt"
    cat >"$folder/pgbouncer.ini" <<EOF
[databases]
* = host=$PG_SERVER_FOLDER/socket port=$1
[pgbouncer]
listen_addr =
listen_port = $port
unix_socket_dir = $folder
auth_type = trust
auth_file = $folder/users.txt
pool_mode = transaction
logfile = $folder/pgbouncer.log
pidfile = $folder/pgbouncer.pid
EOF
    if [ "$(id -u)" -eq 0 ]; then
        chown -R postgres: "$folder"
    fi
    if ! pg_server_as_owner /usr/sbin/pgbouncer --daemon "$folder/pgbouncer.ini"; then
        cat "$folder/pgbouncer.log" >&2
        return 1
    fi
    for _ in $(seq 1 100); do
        if "$PG_SERVER_BIN_DIR/pg_isready" --quiet --host="$folder" --port="$port" \
            --username=postgres --dbname=postgres; then
            export BILLING_TEST_PGBOUNCER="postgresql:///postgres?host=$folder&port=$port&user=postgres"
            echo "pgbouncer-server: PgBouncer in transaction pooling at $BILLING_TEST_PGBOUNCER" >&2
            return 0
        fi
        sleep 0.1
    done
    echo "pgbouncer-server: PgBouncer did not start; its log:" >&2
    cat "$folder/pgbouncer.log" >&2
    return 1
}

# Stops the pooler if it runs; its files go with the server's folder.
pgbouncer_server_stop() {
    local pidfile=${PG_SERVER_FOLDER:-}/pgbouncer/pgbouncer.pid
    if [ -n "${PG_SERVER_FOLDER:-}" ] && [ -f "$pidfile" ]; then
        kill "$(cat "$pidfile")" 2>/dev/null || true
        for _ in $(seq 1 50); do
            [ -f "$pidfile" ] || break
            sleep 0.1
        done
    fi
    unset BILLING_TEST_PGBOUNCER
}
