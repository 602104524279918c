#!/bin/bash
# Starts a private CUPS scheduler with one cups-pdf queue, for tests that print for real.
#
#   source tests/support/private_cupsd.sh; start_private_cupsd; ...; stop_private_cupsd
#
# start_private_cupsd sets CUPS_SERVER (the scheduler's unix socket in a fresh temporary folder),
# PRIVATE_CUPS_QUEUE (the queue's name) and PRIVATE_CUPS_OUT (the folder where cups-pdf writes each job's
# PDF). Its configuration, spool, logs and socket stay in that folder; only the queue's cups-pdf settings
# live where the cups-pdf backend looks for them, /etc/cups/cups-pdf-QUEUE.conf, named after this queue
# alone and removed again by stop_private_cupsd. Fails (non-zero) when the scheduler cannot be started.

start_private_cupsd() {
    PRIVATE_CUPS_DIR=$(mktemp -d /tmp/tvl-cups.XXXXXX) || return 1
    chmod 755 "$PRIVATE_CUPS_DIR"
    local dir=$PRIVATE_CUPS_DIR
    mkdir -p "$dir/conf/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/log" "$dir/state" "$dir/out"
    chmod 1777 "$dir/out"
    cat >"$dir/conf/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel ${PRIVATE_CUPS_LOGLEVEL:-warn}
Browsing No
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    cat >"$dir/conf/cups-files.conf" <<CONF
SystemGroup root
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
FileDevice No
CONF
    /usr/sbin/cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" &
    PRIVATE_CUPSD_PID=$!
    export CUPS_SERVER=$dir/cups.sock
    local tries=0
    # lpstat -r exits 0 whether or not the scheduler answers, so its words are what tell.
    until [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! kill -0 "$PRIVATE_CUPSD_PID" 2>/dev/null; then
            echo "private cupsd did not start; its log:" >&2
            cat "$dir/log/error_log" >&2 2>/dev/null
            stop_private_cupsd
            return 1
        fi
        sleep 0.1
    done
    PRIVATE_CUPS_QUEUE=tvl-pdf-$$-$RANDOM
    PRIVATE_CUPS_OUT=$dir/out
    cat >"/etc/cups/cups-pdf-$PRIVATE_CUPS_QUEUE.conf" <<CONF
Out $dir/out
AnonDirName $dir/out
Label 0
TitlePref 0
CONF
    if ! lpadmin -p "$PRIVATE_CUPS_QUEUE" -E -v "cups-pdf:/$PRIVATE_CUPS_QUEUE" \
            -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd -o pdftops-renderer-default=pdftocairo; then
        echo "could not add the cups-pdf queue" >&2
        stop_private_cupsd
        return 1
    fi
    export PRIVATE_CUPS_QUEUE PRIVATE_CUPS_OUT
}

# Waits until the queue's jobs are done and prints the PDFs written so far, oldest first.
wait_private_cups_jobs() {
    local tries=0
    while [ -n "$(lpstat -o "$PRIVATE_CUPS_QUEUE" 2>/dev/null)" ]; do
        tries=$((tries + 1))
        [ $tries -gt 600 ] && return 1
        sleep 0.1
    done
    ls -tr "$PRIVATE_CUPS_OUT"/*.pdf 2>/dev/null
}

stop_private_cupsd() {
    if [ -n "$PRIVATE_CUPSD_PID" ]; then
        kill "$PRIVATE_CUPSD_PID" 2>/dev/null
        wait "$PRIVATE_CUPSD_PID" 2>/dev/null
        PRIVATE_CUPSD_PID=
    fi
    if [ -n "$PRIVATE_CUPS_QUEUE" ]; then
        rm -f "/etc/cups/cups-pdf-$PRIVATE_CUPS_QUEUE.conf" "/var/log/cups/cups-pdf-${PRIVATE_CUPS_QUEUE}_log"
        PRIVATE_CUPS_QUEUE=
    fi
    [ -n "$PRIVATE_CUPS_DIR" ] && rm -rf "$PRIVATE_CUPS_DIR"
    PRIVATE_CUPS_DIR=
}
