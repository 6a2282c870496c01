#!/usr/bin/env bash
# A print that goes to CUPS: a private scheduler on a local socket, a queue with the embedded
# printer's PPD, and printdialog sending a job with accounting codes to it. Checks that the
# job reached the queue carrying the codes as job attributes, that the printer's PPD came from
# CUPS, and that no code reached the console. Skipped (77) without cupsd or root.
# The codes are synthetic test data.
set -uo pipefail
printdialog=$1 printcore_tests=$2 ppd=$3
command -v cupsd >/dev/null && [ "$(id -u)" -eq 0 ] || { echo "cupsd or root missing"; exit 77; }

work=$(mktemp -d /tmp/cups-test.XXXXXX)
chmod 1777 "$work"
mkdir -p "$work"/{spool,cache,state,tmp,logs,out}
cat >"$work/cupsd.conf" <<CONF
Listen $work/cups.sock
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$work/cups-files.conf" <<CONF
ServerRoot $work
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
TempDir $work/tmp
ErrorLog $work/logs/error_log
AccessLog $work/logs/access_log
PageLog $work/logs/page_log
FileDevice Yes
CONF
cupsd -f -c "$work/cupsd.conf" -s "$work/cups-files.conf" &
scheduler=$!
trap 'kill $scheduler 2>/dev/null; wait $scheduler 2>/dev/null; rm -rf "$work"' EXIT
export CUPS_SERVER=$work/cups.sock
unset PRINTER LPDEST
for _ in $(seq 50); do [ -S "$CUPS_SERVER" ] && break; sleep 0.1; done

fail=0
check() { # description, command...
    local what=$1
    shift
    "$@" || { echo "FAILED: $what"; fail=1; }
}
# The scheduler here has no filters: the queue's copy of the PPD passes PostScript through.
sed 's/^\*PCFileName:.*/&\n*cupsFilter: "application\/postscript 0 -"/' "$ppd" >"$work/kv3300.ppd"
check "a queue with the KV3300 PPD" lpadmin -p KV3300 -E -v "file://$work/out/job.prn" \
    -P "$work/kv3300.ppd"

# The PrintCore test of a real destination, which is skipped where CUPS knows none.
check "PrintCore finds the destination" "$printcore_tests" --gtest_filter='CUPSPrinter.*' \
    --gtest_fail_if_no_test_run=1 >"$work/gtest.txt" 2>&1
grep -q 'SKIPPED \[' "$work/gtest.txt" && { echo "FAILED: the CUPS test was skipped"; fail=1; }

cat >"$work/print.script" <<SCRIPT
choose TVKa:101 "Accounting Enabled"
click "Print"
type TVKa:501 "cups-user-41"
type TVKa:503 "cups-acct-42"
click "OK"
SCRIPT
printf '%%!PS\n/Helvetica findfont 12 scalefont setfont 72 720 moveto (a page) show showpage\n' \
    >"$work/page.ps"
console=$("$printdialog" --printer KV3300 --script "$work/print.script" --output "$work/out" \
    "$work/page.ps" 2>&1)
status=$?
[ $status -eq 0 ] || { echo "FAILED: printdialog exited $status"; fail=1; }
grep -qE '^printdialog: sent to CUPS destination KV3300 as job [0-9]+$' <<<"$console" ||
    { echo "FAILED: no job was sent"; fail=1; }
grep -q 'has no PPD' <<<"$console" && { echo "FAILED: the PPD did not come from CUPS"; fail=1; }
grep -qE 'cups-user-41|cups-acct-42' <<<"$console" && { echo "FAILED: a code reached the console"; fail=1; }
# The scheduler writes a job's control file a moment after it takes the job.
for _ in $(seq 100); do
    control=$(ls "$work"/spool/c* 2>/dev/null | head -1)
    [ -n "$control" ] && grep -aq job-account-id "$control" && break
    sleep 0.1
done
for attribute in "job-accounting-user-id" "cups-user-41" "job-account-id" "cups-acct-42"; do
    grep -aq -- "$attribute" "$control" 2>/dev/null ||
        { echo "FAILED: the queued job lacks $attribute"; fail=1; }
done
[ $fail -eq 0 ] || echo "$console"

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
    shown = str(struct.unpack(">i", value)[0]) if tag in (0x21, 0x23) and n == 4 else value.decode("utf-8", "replace")
    print(f"{name}={shown}")
PY
}
wait_for_job() { # job number; prints its control file once it has the account ID
    local file
    file=$(printf '%s/spool/c%05d' "$work" "$1")
    for _ in $(seq 100); do
        grep -aq job-account-id "$file" 2>/dev/null && break
        sleep 0.1
    done
    echo "$file"
}

# lp's way in: no -d (the default destination, here an instance with saved options, from
# lpoptions), standard input as the document, -n, -t and -o. The codes still win over -o.
printf 'Dest KV3300/draft number-up=2 job-priority=20\nDefault KV3300/draft\n' >"$work/lpoptions"
sed 's/a page/piped page/' "$work/page.ps" >"$work/piped.ps"
piped=$(CUPS_SERVERROOT=$work "$printdialog" -n 3 -t "Piped job" -o "job-priority=70" \
    -o job-account-id=forged --script "$work/print.script" --output "$work/out2" \
    <"$work/piped.ps" 2>&1)
status=$?
[ $status -eq 0 ] || { echo "FAILED: printdialog (piped) exited $status"; echo "$piped"; fail=1; }
job=$(sed -nE 's/^printdialog: sent to CUPS destination KV3300\/draft as job ([0-9]+)$/\1/p' <<<"$piped")
if [ -z "$job" ]; then
    echo "FAILED: no job went to the default destination KV3300/draft"; echo "$piped"; fail=1
else
    attributes=$(job_attributes "$(wait_for_job "$job")")
    for expected in "copies=3" "job-name=Piped job" "job-priority=70" "number-up=2" \
        "job-account-id=cups-acct-42" "job-accounting-user-id=cups-user-41"; do
        grep -qxF -- "$expected" <<<"$attributes" ||
            { echo "FAILED: the piped job lacks $expected"; echo "$attributes"; fail=1; }
    done
    document=$(printf '%s/spool/d%05d-001' "$work" "$job")
    grep -q 'piped page' "$document" 2>/dev/null ||
        { echo "FAILED: standard input did not reach the queue"; fail=1; }
fi
[ $fail -eq 0 ] && echo "printing through CUPS: all checks passed"
exit $fail
