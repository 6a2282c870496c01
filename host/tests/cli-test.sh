#!/usr/bin/env bash
# printdialog's command line: the listing of the Accounting PDE in two languages, the refusal
# of each bad bundle with its reason, and a run through the panel's lifecycle.
set -uo pipefail
printdialog=$1 bad_bundles=$2
fail=0
expect() { # description, text, pattern
    if ! grep -qE -- "$3" <<<"$2"; then
        echo "FAILED: $1: no line matches /$3/ in:"
        echo "$2"
        fail=1
    fi
}

listing=$(LANGUAGE=en "$printdialog" --list 2>&1)
expect "kind" "$listing" 'kind: +com\.tovek\.print\.pde\.AccountingKind$'
expect "title" "$listing" 'title: +Accounting$'
expect "creator" "$listing" "creator: +'pde '$"
expect "size" "$listing" 'maximum size: +150 x 378$'
expect "version" "$listing" 'API version: +1\.0/1\.0$'

german=$(LANGUAGE=de "$printdialog" --list 2>&1)
expect "German title" "$german" 'title: +Kostenstellen$'

refused=$("$printdialog" --pde "$bad_bundles" --list 2>&1)
expect "malformed Info.plist" "$refused" 'skipping .*/Broken\.plugin: Contents/Info\.plist: .*line [0-9]+'
expect "missing executable" "$refused" 'skipping .*/NoExecutable\.plugin: its executable is missing'
expect "missing factory" "$refused" "skipping .*/NoFactory\.plugin: the executable has no factory function 'MissingFactory'"
expect "API version" "$refused" 'skipping .*/OtherVersion\.plugin: it speaks PDE API 2\.0'
expect "the good one still loads" "$refused" 'title: +Accounting$'

# A person who presses Print at once: with accounting off (the default) the job is written
# with the nine accounting keys, and no code reaches the console.
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
echo 'click "Print"' >"$out/print.script"
print=(--script "$out/print.script" --output "$out")
run=$("$printdialog" "${print[@]}" "$0" 2>&1)
status=$?
[ $status -eq 0 ] || { echo "FAILED: printdialog exited $status"; fail=1; }
expect "printed" "$run" "^printdialog: printed $out/cli-test.sh; job ticket $out/cli-test.sh.ticket.plist$"
expect "nine keys" "$run" 'ticket keys: ([^,]+, ){8}[^,]+$'
[ -f "$out/cli-test.sh.ticket.plist" ] || { echo "FAILED: no job ticket"; fail=1; }

lifecycle=$("$printdialog" --verbose "${print[@]}" </dev/null 2>&1)
for step in Prolog Initialize Open Sync Close Terminate; do
    expect "$step status" "$lifecycle" "^printdialog: Accounting: $step 0$"
done

bad=$("$printdialog" --ppd /nonexistent.ppd "${print[@]}" 2>&1)
expect "a PPD that cannot be opened is reported" "$bad" 'the printer has no PPD: .*/nonexistent\.ppd'
unread=$("$printdialog" --settings "$0" "${print[@]}" 2>&1)
expect "unreadable settings are reported and empty ones used" "$unread" \
    "cli-test\.sh.*; starting with empty print settings"

# The host's own window and buttons speak the person's language.
for case in "de Drucken Abbrechen" "fr Imprimer Annuler" "ja プリント キャンセル" "sv Print Cancel"; do
    read -r language printtitle cancel <<<"$case"
    printf 'dump %s.txt\nclick "%s"\n' "$language" "$cancel" >"$out/$language.script"
    LANGUAGE=$language "$printdialog" --script "$out/$language.script" --output "$out" \
        </dev/null >/dev/null 2>&1 || { echo "FAILED: $language: Cancel is not '$cancel'"; fail=1; }
    dump=$(cat "$out/$language.txt" 2>/dev/null)
    expect "$language window title" "$dump" "^window \"$printtitle\""
    expect "$language Print button" "$dump" "'PDlg'/3 push button .* default text=\"$printtitle\""
done

# Standard input is the document when no file is given, as for lp; "-" names it too.
piped=$(printf 'piped text\n' | "$printdialog" "${print[@]}" 2>&1)
expect "standard input printed" "$piped" "^printdialog: printed $out/stdin; job ticket"
grep -q 'piped text' "$out/stdin" 2>/dev/null || { echo "FAILED: standard input was not kept"; fail=1; }
two=$(printf 'second\n' | "$printdialog" "${print[@]}" "$0" - 2>&1)
expect "a file and standard input" "$two" "^printdialog: printed $out/stdin; job ticket"
expect "the file too" "$two" "^printdialog: printed $out/cli-test.sh; job ticket"

# "command PDrd" makes every PDE read the settings again: the panel shows the saved ones.
printf 'choose TVKa:101 "Accounting Enabled"\nclick "Print"\ntype TVKa:501 "u-1"\ntype TVKa:503 "a-1"\nclick "OK"\n' \
    >"$out/save.script"
"$printdialog" --script "$out/save.script" --save-settings "$out/on.plist" --output "$out/saved" \
    </dev/null >/dev/null 2>&1
printf 'expect-value TVKa:101 2\nchoose TVKa:101 "None"\nexpect-value TVKa:101 1\ncommand PDrd\nexpect-value TVKa:101 2\nclick "Cancel"\n' \
    >"$out/reread.script"
reread=$("$printdialog" --settings "$out/on.plist" --script "$out/reread.script" --verbose \
    --output "$out/saved" </dev/null 2>&1)
status=$?
[ $status -eq 0 ] || { echo "FAILED: re-reading the settings exited $status: $reread"; fail=1; }
expect "Sync reading" "$reread" "^printdialog: Accounting: Sync \(reading\) 0$"

# Lines after the one that ends the dialog would never run: an error, and nothing is printed.
printf 'click "Print"\ndump late.txt\n' >"$out/late.script"
late=$("$printdialog" --script "$out/late.script" --output "$out/late" "$0" 2>&1)
status=$?
[ $status -eq 1 ] || { echo "FAILED: a script with lines left over exited $status, not 1"; fail=1; }
expect "left over" "$late" "late\.script:2: the dialog has ended; this line and those after it are left over"
[ -e "$out/late/cli-test.sh.ticket.plist" ] && { echo "FAILED: printed with lines left over"; fail=1; }
printf 'click "Cancel"\nclick "Print"\n' >"$out/late.script"
"$printdialog" --script "$out/late.script" --output "$out/late" "$0" >/dev/null 2>&1
status=$?
[ $status -eq 1 ] || { echo "FAILED: Cancel with lines left over exited $status, not 1"; fail=1; }

# A panel whose Sync fails stops the print: the alert names the panel and its status, and the
# dialog stays, so another panel can still be chosen before Cancel.
printf '%s\n' 'click "Print"' \
    'expect-alert "The panel “Stubborn” could not keep its settings (error -50)."' \
    'answer-alert "OK"' 'choose PDlg:1 "Accounting"' 'click "Cancel"' >"$out/stubborn.script"
stubborn=$("$printdialog" --pde "$bad_bundles/sync-fails" --script "$out/stubborn.script" \
    --output "$out/stubborn" "$0" 2>&1)
status=$?
[ $status -eq 0 ] || { echo "FAILED: Cancel after a failed Sync exited $status, not 0"; fail=1; }
expect "a failed Sync is named" "$stubborn" 'the panel Stubborn could not keep its settings \(-50\); nothing was printed'
[ -e "$out/stubborn/cli-test.sh.ticket.plist" ] && { echo "FAILED: printed after a failed Sync"; fail=1; }

# The panel menu's last item is the Summary, in the person's language: the panels' settings as
# "title: value" lines in a pane of their own.
printf '%s\n' 'choose PDlg:1 "Übersicht"' 'dump summary.txt' 'click "Abbrechen"' >"$out/summary.script"
LANGUAGE=de "$printdialog" --script "$out/summary.script" --output "$out/summary" "$0" >/dev/null 2>&1
summary=$(cat "$out/summary/summary.txt" 2>/dev/null)
expect "the Summary is the menu's last item" "$summary" "items=\[\"Kostenstellen\",\"Übersicht\"\]"
expect "the Summary shows" "$summary" "'PDlg'/99 user pane .* visible"
expect "the Summary names the panel" "$summary" '^      - static text .* text="Kostenstellen"$'

# A scripted run never loads the display's toolkit.
loaded=$(LD_DEBUG=libs "$printdialog" "${print[@]}" "$0" 2>&1 | grep -E 'calling init: .*libgtk-4\.so')
[ -z "$loaded" ] || { echo "FAILED: a scripted run loaded the toolkit: $loaded"; fail=1; }

# Without a display and without a script there is nobody to press Print.
nodisplay=$(env -u DISPLAY -u WAYLAND_DISPLAY "$printdialog" --output "$out" "$0" 2>&1)
status=$?
[ $status -eq 2 ] || { echo "FAILED: without a display printdialog exited $status, not 2"; fail=1; }
expect "no display" "$nodisplay" 'no display to show the print dialog on'
help=$("$printdialog" --help 2>&1)
expect "help names the lp options" "$help" '^usage: printdialog \[-d destination\] \[-n copies\]'
unused=$("$printdialog" -n 2 -o media=A4 "${print[@]}" "$0" 2>&1)
expect "-n and -o without a destination" "$unused" "no CUPS destination: -n and -o have no queue to go to; the job is kept in $out"
copies=$("$printdialog" -n 0 "${print[@]}" 2>&1)
status=$?
[ $status -eq 2 ] || { echo "FAILED: -n 0 exited $status, not 2"; fail=1; }
expect "copies out of range" "$copies" "-n wants a number of copies from 1 to 9999, not '0'"
usage=$("$printdialog" --ppd a -d b 2>&1)
expect "conflicting options" "$usage" 'cannot be given together'

[ $fail -eq 0 ] && echo "printdialog command line: all checks passed"
exit $fail
