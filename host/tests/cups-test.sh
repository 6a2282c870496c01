#!/usr/bin/env bash
# A print that goes to CUPS: a private scheduler on a local socket, a queue with the embedded
# printer's PPD, and printdialog sending a job with accounting codes to it. Checks that the
# job reached the queue carrying the codes as job attributes, that a printer made for the queue
# gets its PPD from CUPS (PrintCore's test), and that no code reached the console. Skipped (77)
# without cupsd or root.
# The codes are synthetic test data.
set -uo pipefail
printdialog=$1 printcore_tests=$2 ppd=$3
command -v cupsd >/dev/null && [ "$(id -u)" -eq 0 ] || { echo "cupsd or root missing"; exit 77; }

source "$(dirname "$0")/private-cups.sh"
start_private_cups cups-test "$ppd"

fail=0
check() { # description, command...
    local what=$1
    shift
    "$@" || { echo "FAILED: $what"; fail=1; }
}
check "a queue with the KV3300 PPD" [ -n "$queue_ready" ]

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
# A queue that rejects jobs stops the print before anything is written: the alert says so (in
# the person's language), the console too, without the codes; Cancel then ends the dialog.
cupsreject KV3300
cat >"$work/rejected.script" <<SCRIPT
choose TVKa:101 "Comptabilité activée"
click PDlg:3
type TVKa:501 "cups-user-43"
type TVKa:503 "cups-acct-44"
click "OK"
expect-alert "Le document n’a pas été imprimé."
expect-alert "L’imprimante KV3300 n’accepte pas de tâches."
answer-alert "OK"
click PDlg:2
SCRIPT
rejected=$(LANGUAGE=fr "$printdialog" -d KV3300 --script "$work/rejected.script" \
    --output "$work/out3" "$work/page.ps" 2>&1)
status=$?
[ $status -eq 0 ] || { echo "FAILED: cancelled after the alert, printdialog exited $status"; fail=1; }
grep -q 'CUPS destination KV3300 is not accepting jobs.*; nothing was printed' <<<"$rejected" ||
    { echo "FAILED: the console did not say why"; fail=1; }
grep -qE 'cups-user-43|cups-acct-44' <<<"$rejected" && { echo "FAILED: a code reached the console"; fail=1; }
[ -e "$work/out3/page.ps" ] && { echo "FAILED: a stopped print was written"; fail=1; }
[ $fail -eq 0 ] || echo "$rejected"
cupsaccept KV3300

[ $fail -eq 0 ] && echo "printing through CUPS: all checks passed"
exit $fail
