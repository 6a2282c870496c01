#!/usr/bin/env bash
# The files printdialog reads and writes, as a careless or hostile folder offers them: a
# document printed in its own folder, symbolic links where output goes, folders that cannot be
# written, settings that are not files, scripts that do not exist. Nothing is written through a
# link, and every refusal names the file.
set -uo pipefail
printdialog=$(realpath "$1")
fail=0
expect() { # description, text, pattern
    if ! grep -qE -- "$3" <<<"$2"; then
        echo "FAILED: $1: no line matches /$3/ in:"
        echo "$2"
        fail=1
    fi
}
check() { # description, command...
    local what=$1
    shift
    "$@" || { echo "FAILED: $what"; fail=1; }
}
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cd "$work"
# Every print is played from a script that presses Print.
echo 'click "Print"' >"$work/print.script"
pd() { "$printdialog" --script "$work/print.script" "$@"; }

# A document printed into its own folder: the job is the document itself.
echo "synthetic test document" >letter.txt
run=$(pd --output . letter.txt 2>&1)
check "printing in the document's folder succeeds" test $? -eq 0
expect "printed in place" "$run" '^printdialog: printed \./letter\.txt; job ticket \./letter\.txt\.ticket\.plist$'
check "the document is intact" grep -qx "synthetic test document" letter.txt
check "the ticket is owner-only" test "$(stat -c %a letter.txt.ticket.plist)" = 600

# Links named like the copy and the ticket: refused, and what they point at is untouched.
mkdir out
echo "precious" >victim
ln -s ../victim out/letter.txt.ticket.plist
run=$(pd --output out letter.txt 2>&1)
check "a linked ticket fails the print" test $? -ne 0
expect "the link is named" "$run" 'out/letter\.txt\.ticket\.plist: the ticket cannot be saved: it is a symbolic link'
check "the ticket link's target is untouched" grep -qx precious victim
check "the link is still a link" test -L out/letter.txt.ticket.plist
rm out/letter.txt.ticket.plist out/letter.txt
ln -s ../victim out/letter.txt
run=$(pd --output out letter.txt 2>&1)
expect "a linked copy is refused" "$run" 'out/letter\.txt: a symbolic link is in the way'
check "the copy link's target is untouched" grep -qx precious victim
ln -s victim saved.plist
run=$(pd --output out2 --save-settings saved.plist 2>&1)
check "--save-settings onto a link fails" test $? -ne 0
expect "--save-settings names the link" "$run" 'saved\.plist: the ticket cannot be saved: it is a symbolic link'
check "the settings link's target is untouched" grep -qx precious victim

# An output folder that cannot be written is reported as such (root writes everywhere).
if [ "$(id -u)" -ne 0 ]; then
    mkdir locked && chmod 555 locked
    run=$(pd --output locked letter.txt 2>&1)
    expect "a read-only output folder" "$run" 'locked: the output folder cannot be written into'
fi
run=$(pd --output letter.txt/sub letter.txt 2>&1)
expect "an output folder that cannot be made" "$run" 'letter\.txt/sub: the output folder cannot be made'
run=$(pd --output out3 missing.txt 2>&1)
expect "a missing document is named" "$run" 'missing\.txt: the document cannot be read'

# A print that cannot go out says why in an alert, in the person's language, and the dialog
# stays as it was: the codes typed into the prompt are not lost and Cancel still ends it.
cat >stop.script <<'SCRIPT'
choose TVKa:101 "Kostenstellen aktiviert"
click PDlg:3
type TVKa:501 "stop-user-51"
type TVKa:503 "stop-acct-52"
click "OK"
expect-alert "Das Dokument wurde nicht gedruckt."
expect-alert "Das Dokument gone.txt kann nicht gelesen werden."
answer-alert "OK"
expect-text TVKa:101 "Kostenstellen aktiviert"
expect-text PDlg:3 "Drucken"
click "Abbrechen"
SCRIPT
run=$(LANGUAGE=de "$printdialog" --script stop.script --output out6 gone.txt 2>&1)
check "Cancel after a stopped print ends the run (exit 0)" test $? -eq 0
expect "the console says why" "$run" '^printdialog: gone\.txt: the document cannot be read: .*; nothing was printed$'
check "nothing was written" test ! -e out6/job.ticket.plist
check "no code reached the console" test -z "$(grep -E 'stop-user-51|stop-acct-52' <<<"$run")"
# A script that ends with the alert up fails, as a script that ends early does.
run=$("$printdialog" --script print.script --output out8 missing.txt 2>&1)
check "a script ending at the alert fails" test $? -eq 1
expect "the alert's explanation is on the console" "$run" 'The document missing\.txt cannot be read\.'

# Settings that are not a settings file, and scripts that are not scripts.
mkfifo pipe
run=$(timeout 20 "$printdialog" --script "$work/print.script" --settings pipe --output out4 2>&1)
expect "a pipe as settings" "$run" 'pipe: not a regular file.*starting with empty print settings'
run=$(timeout 20 "$printdialog" --script "$work/print.script" --settings /dev/zero --output out4 2>&1)
expect "a device as settings" "$run" '/dev/zero: not a regular file'
run=$("$printdialog" --script nothing.script --output out5 2>&1)
check "a missing script fails" test $? -ne 0
expect "a missing script is named" "$run" 'nothing\.script: the script cannot be read: No such file'
run=$("$printdialog" --script out --output out5 2>&1)
check "a folder as script fails" test $? -ne 0
expect "a folder as script" "$run" 'out: a folder, not a script'

[ $fail -eq 0 ] && echo "printdialog files: all checks passed"
exit $fail
