#!/usr/bin/env bash
# A throwaway CUPS scheduler for the tests, with one PDF queue: its own configuration in a
# temporary folder, reachable only through a Unix socket there, removed when it stops.
#
#   scripts/cups-server.sh run COMMAND [ARG...]   start it, run COMMAND, stop it; exits with
#                                                 COMMAND's status
#   source scripts/cups-server.sh                 defines cups_server_start and cups_server_stop:
#   cups_server_start; trap cups_server_stop EXIT
#
# cups_server_start exports CUPS_SERVER (the socket, which Qt's printers use too),
# BILLING_TEST_PRINTER (the queue) and BILLING_TEST_PRINTER_OUTPUT (the folder where the queue
# writes each job as a PDF). The queue's driver, cups-pdf, runs only as root and reads its
# settings from /etc/cups alone: the scheduler is started only as root, and the queue's settings
# file there is removed with the rest.

cups_server_start() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "cups-server: not root, so no scheduler: the tests of a real printer are skipped" >&2
        return 0
    fi
    if [ ! -x /usr/sbin/cupsd ] || [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
        echo "cups-server: cups or printer-driver-cups-pdf is missing (run scripts/setup.sh)" >&2
        return 1
    fi
    CUPS_SERVER_FOLDER=$(mktemp -d /tmp/491mx-cups.XXXXXX) || return 1
    local folder=$CUPS_SERVER_FOLDER
    CUPS_SERVER_QUEUE=491mx-test-${folder##*.}
    mkdir -p "$folder"/{ppd,spool/tmp,cache,state,log,pdf,cups-pdf-spool}
    # The filters run as lp and the job's PDF is written by root for the job's owner.
    chown lp "$folder/spool" "$folder/spool/tmp" "$folder/cache"
    chmod 0777 "$folder/pdf"
    cat >"$folder/cups-files.conf" <<EOF
ServerRoot $folder
RequestRoot $folder/spool
TempDir $folder/spool/tmp
CacheDir $folder/cache
StateDir $folder/state
ServerBin /usr/lib/cups
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog $folder/log/access_log
ErrorLog $folder/log/error_log
PageLog $folder/log/page_log
User lp
Group lp
SystemGroup root
EOF
    cat >"$folder/cupsd.conf" <<EOF
Listen $folder/cups.sock
LogLevel error
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    cat >"/etc/cups/cups-pdf-$CUPS_SERVER_QUEUE.conf" <<EOF
Out $folder/pdf
AnonDirName $folder/pdf
Spool $folder/cups-pdf-spool
Log $folder/log
UserUMask 0000
EOF
    /usr/sbin/cupsd -f -c "$folder/cupsd.conf" -s "$folder/cups-files.conf" \
        >"$folder/log/cupsd.out" 2>&1 &
    CUPS_SERVER_PID=$!
    export CUPS_SERVER=$folder/cups.sock
    for _ in $(seq 1 100); do
        [ -S "$CUPS_SERVER" ] && lpstat -r 2>/dev/null | grep -qv "not running" && break
        sleep 0.1
    done
    if ! lpadmin -p "$CUPS_SERVER_QUEUE" -E -v "cups-pdf:/$CUPS_SERVER_QUEUE" \
        -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd -o pdftops-renderer-default=pdftocairo \
        >"$folder/log/lpadmin.out" 2>&1; then
        echo "cups-server: the scheduler did not take the queue; its logs:" >&2
        cat "$folder/log/"* >&2
        cups_server_stop
        return 1
    fi
    export BILLING_TEST_PRINTER=$CUPS_SERVER_QUEUE
    export BILLING_TEST_PRINTER_OUTPUT=$folder/pdf
    echo "cups-server: queue $BILLING_TEST_PRINTER at $CUPS_SERVER" >&2
}

# Stops the scheduler (if it runs) and removes its folder; safe to call more than once.
cups_server_stop() {
    if [ -z "${CUPS_SERVER_FOLDER:-}" ]; then
        return 0
    fi
    if [ -n "${CUPS_SERVER_PID:-}" ]; then
        kill "$CUPS_SERVER_PID" 2>/dev/null || true
        wait "$CUPS_SERVER_PID" 2>/dev/null || true
    fi
    rm -f "/etc/cups/cups-pdf-$CUPS_SERVER_QUEUE.conf"
    rm -rf "$CUPS_SERVER_FOLDER"
    CUPS_SERVER_FOLDER=""
    CUPS_SERVER_PID=""
    unset CUPS_SERVER BILLING_TEST_PRINTER BILLING_TEST_PRINTER_OUTPUT
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    if [ "${1:-}" != run ] || [ $# -lt 2 ]; then
        echo "usage: scripts/cups-server.sh run COMMAND [ARG...]" >&2
        exit 2
    fi
    shift
    trap cups_server_stop EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    cups_server_start
    status=0
    "$@" || status=$?
    exit "$status"
fi
