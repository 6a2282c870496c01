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

run=$("$printdialog" 2>&1)
status=$?
[ $status -eq 0 ] || { echo "FAILED: printdialog exited $status"; fail=1; }
for step in Prolog Initialize Close Terminate; do
    expect "$step status" "$run" "^  $step +0$"
done
expect "Open reports the nib's status" "$run" '^  Open +-?[0-9]+$'

[ $fail -eq 0 ] && echo "printdialog command line: all checks passed"
exit $fail
