# A private CUPS scheduler on a local socket, for the tests that print through CUPS; sourced.
# start_private_cups NAME PPD starts it in a fresh folder $work, with a queue KV3300 for the
# PPD that writes its jobs to $work/out/job.prn, and stops it (and removes $work) on exit.
# queue_ready is "yes" once the queue exists.

start_private_cups() { # name, ppd
    work=$(mktemp -d "/tmp/$1.XXXXXX")
    chmod 1777 "$work"
    mkdir -p "$work"/{spool,cache,state,tmp,logs,out}
    printf '%s\n' "Listen $work/cups.sock" "LogLevel warn" "DirtyCleanInterval 0" \
        "<Location />" "  Order allow,deny" \
        "  Allow all" "</Location>" >"$work/cupsd.conf"
    printf '%s\n' "ServerRoot $work" "RequestRoot $work/spool" "CacheDir $work/cache" \
        "StateDir $work/state" "TempDir $work/tmp" "ErrorLog $work/logs/error_log" \
        "AccessLog $work/logs/access_log" "PageLog $work/logs/page_log" "FileDevice Yes" \
        >"$work/cups-files.conf"
    cupsd -f -c "$work/cupsd.conf" -s "$work/cups-files.conf" &
    scheduler=$!
    trap 'kill $scheduler 2>/dev/null; wait $scheduler 2>/dev/null; rm -rf "$work"' EXIT
    export CUPS_SERVER=$work/cups.sock
    unset PRINTER LPDEST
    for _ in $(seq 200); do [ -S "$CUPS_SERVER" ] && break; sleep 0.1; done
    # The scheduler here has no filters: the queue's copy of the PPD passes PostScript through.
    sed 's/^\*PCFileName:.*/&\n*cupsFilter: "application\/postscript 0 -"/' "$2" >"$work/kv3300.ppd"
    queue_ready=
    lpadmin -p KV3300 -E -v "file://$work/out/job.prn" -P "$work/kv3300.ppd" 2>/dev/null &&
        queue_ready=yes
}

# The job's attributes as the scheduler keeps them (its control file is an IPP message).
job_attributes() { # control file
    python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
i, name = 8, ""
while i < len(data):
    tag = data[i]; i += 1
    if tag == 3: break
    if tag < 0x10: continue
    n, = struct.unpack(">H", data[i:i + 2]); i += 2
    name = data[i:i + n].decode() or name; i += n
    n, = struct.unpack(">H", data[i:i + 2]); i += 2
    value = data[i:i + n]; i += n
    shown = str(struct.unpack(">i", value)[0]) if tag in (0x21, 0x23) and n == 4 else value.decode("utf-8", "replace").replace("\0", "")
    print(f"{name}={shown}")
PY
}
wait_for_job() { # job number; prints its control file once it has the account ID
    local file
    file=$(printf '%s/spool/c%05d' "$work" "$1")
    for _ in $(seq 300); do
        grep -aq job-account-id "$file" 2>/dev/null && break
        sleep 0.1
    done
    echo "$file"
}

