#!/usr/bin/env bash
# The print dialog in real windows: a private X server (Xvfb), real X input from xdotool, a
# private CUPS scheduler. The dialog appears and looks as its headless snapshot does; the
# panel's popup opens and a choice in it turns accounting on; Return prints; the prompt asks for
# the codes; typing (beyond ASCII too, and a character composed by the input method, shown in
# the field while it is composed), Tab and Return answer it and the job reaches the queue with
# the codes. In a second run, Escape in the prompt brings the cancel alert, Return answers
# it, and closing the dialog's window cancels. In a third, text is copied and pasted between
# fields through the desktop's clipboard, and Escape cancels. In a fourth, a queue that rejects
# jobs stops the print with an alert, and Print goes through once it accepts again; in a fifth,
# a queue removed while the dialog is open does too. Skipped (77) without Xvfb, xdotool, cupsd
# or root.
# The codes are synthetic test data.
set -uo pipefail
printdialog=$1 shot=$2 ppd=$3
for tool in Xvfb xdotool cupsd; do
    command -v $tool >/dev/null || { echo "$tool missing"; exit 77; }
done
[ "$(id -u)" -eq 0 ] || { echo "root missing (for the CUPS scheduler)"; exit 77; }

source "$(dirname "$0")/private-cups.sh"
start_private_cups display-test "$ppd"
exec 3>"$work/display-number"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xserver=$!
exec 3>&-
trap 'kill $xserver $scheduler 2>/dev/null; wait $xserver $scheduler 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 200); do [ -s "$work/display-number" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display-number") GTK_A11Y=none

fail=0
failed() {
    echo "FAILED: $*"
    fail=1
}
# Waits are generous, as the suite may run on a loaded machine: each ends as soon as what it
# waits for is there.
# The window with that exact title, once it is on the screen (empty after 30 seconds).
window() {
    timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1
}
# Compares what a window shows with a headless snapshot; the shot is kept beside it. A window
# just mapped may not be painted yet: a few tries.
looks_like() { # window, snapshot, what
    for _ in $(seq 80); do
        "$shot" "$1" "${2%.png}-real.png" "$2" >"$work/shot.txt" && return
        sleep 0.15
    done
    failed "$3 does not look like its snapshot: $(tr '\n' ' ' <"$work/shot.txt")"
}
# Turns accounting on with the mouse: the popup's menu opens under it; its second item.
enable_accounting() { # dialog window
    xdotool mousemove --window "$1" 265 107 click 1
    local menu=""
    for _ in $(seq 200); do
        menu=$(xdotool search --onlyvisible --name '^$' 2>/dev/null | while read -r id; do
            xdotool getwindowgeometry "$id" | grep -q 'Geometry: 1x1$' || echo "$id"
        done | tail -1)
        [ -n "$menu" ] && [ "$menu" != "$root" ] && break
        sleep 0.1
    done
    eval "$(xdotool getwindowgeometry --shell "$menu")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * 3 / 4)) click 1
    # The choice is made once the menu has gone.
    for _ in $(seq 200); do
        xdotool search --onlyvisible --name '^$' 2>/dev/null | grep -qx "$menu" || break
        sleep 0.1
    done
    sleep 0.3
}
# The alert that came up over the dialog, once the prompt (if any) is gone.
alert_over() { # dialog window
    local alert=""
    for _ in $(seq 200); do
        alert=$(xdotool search --onlyvisible --name '.*' 2>/dev/null | while read -r id; do
            [ "$id" = "$1" ] || [ "$id" = "$root" ] ||
                xdotool getwindowgeometry "$id" | grep -q 'Geometry: 1x1$' || echo "$id"
        done | tail -1)
        [ -n "$alert" ] && [ -z "$(xdotool search --onlyvisible --name '^Accounting$')" ] && break
        sleep 0.1
    done
    echo "$alert"
}
root=$(xdotool search --maxdepth 0 --name '' 2>/dev/null | head -1)
# Answers the alert with Return and waits until it has gone.
answer_alert() { # alert window
    xdotool windowfocus --sync "$1"
    xdotool key Return
    for _ in $(seq 200); do
        xdotool search --onlyvisible --name '.*' 2>/dev/null | grep -qx "$1" || break
        sleep 0.1
    done
    sleep 0.1
}

# What the windows look like headless, in the same states.
cat >"$work/snapshots.script" <<'SCRIPT'
snapshot dialog.png
choose TVKa:101 "Accounting Enabled"
click "Print"
snapshot prompt.png
click "Cancel"
expect-alert "The job was not printed because no accounting codes were entered."
snapshot alert.png
answer-alert "OK"
click "Cancel"
SCRIPT
cat >"$work/clipboard.script" <<'SCRIPT'
choose TVKa:101 "Accounting Enabled"
click TVKa:120
type TVKa:122 "copy-7"
type TVKa:126 "copy-7"
snapshot defaults.png
click "Cancel"
SCRIPT
mkdir -p "$work/headless"
"$printdialog" --script "$work/clipboard.script" --output "$work/headless" </dev/null \
    >"$work/headless2.txt" 2>&1 || failed "the headless snapshots: $(cat "$work/headless2.txt")"
"$printdialog" --script "$work/snapshots.script" --output "$work/headless" </dev/null \
    >"$work/headless.txt" 2>&1 || failed "the headless snapshots: $(cat "$work/headless.txt")"
printf '%%!PS\n/Helvetica findfont 12 scalefont setfont 72 720 moveto (a page) show showpage\n' \
    >"$work/page.ps"

# First run: a print with codes typed into the prompt.
"$printdialog" -d KV3300 --output "$work/real" "$work/page.ps" >"$work/run1.txt" 2>&1 &
run=$!
dialog=$(window Print)
[ -n "$dialog" ] || failed "the dialog window did not appear"
looks_like "$dialog" "$work/headless/dialog.png" "the dialog"
enable_accounting "$dialog"
xdotool windowfocus --sync "$dialog"
xdotool key Return
prompt=$(window Accounting)
[ -n "$prompt" ] || failed "Return did not bring the prompt"
looks_like "$prompt" "$work/headless/prompt.png" "the prompt"
xdotool windowfocus --sync "$prompt"
# xdotool types "ł" by mapping it to a spare key for a moment; the toolkit reads the keyboard
# map when the key arrives, so the mapping must outlast that, even on a busy machine.
xdotool type --delay 20 'Mich'
xdotool type --delay 1500 'ał'
# The desktop's input method composes one more character (Control-Shift-U, its code, space):
# while it is composed it shows in the field, and only the committed character is typed.
"$shot" "$prompt" "$work/composing-before.png" "$work/headless/prompt.png" >/dev/null
xdotool key ctrl+shift+u
xdotool type --delay 20 'e5'
sleep 0.3
"$shot" "$prompt" "$work/composing.png" "$work/composing-before.png" >/dev/null &&
    failed "the text being composed does not show in the field"
xdotool key space
xdotool key Tab
xdotool type --delay 20 '4711'
xdotool key Return
timeout 30 tail --pid=$run -f /dev/null || kill $run 2>/dev/null
wait $run
status=$?
console=$(cat "$work/run1.txt")
[ $status -eq 0 ] || failed "printdialog exited $status: $console"
job=$(sed -nE 's/^printdialog: sent to CUPS destination KV3300 as job ([0-9]+)$/\1/p' <<<"$console")
if [ -z "$job" ]; then
    failed "no job reached the queue: $console"
else
    attributes=$(job_attributes "$(wait_for_job "$job")")
    for expected in "job-accounting-user-id=Michałå" "job-account-id=4711"; do
        grep -qxF -- "$expected" <<<"$attributes" ||
            failed "the job lacks $expected: $(grep -a '^job-account' <<<"$attributes" | tr '\n' ' ')"
    done
fi
grep -qE 'Michał|4711' <<<"$console" && failed "a code reached the console"

# Second run: Escape in the prompt, the alert, and the dialog's window closed.
"$printdialog" -d KV3300 --output "$work/real" "$work/page.ps" >"$work/run2.txt" 2>&1 &
run=$!
dialog=$(window Print)
enable_accounting "$dialog"
xdotool windowfocus --sync "$dialog"
xdotool key Return
prompt=$(window Accounting)
xdotool windowfocus --sync "$prompt"
xdotool key Escape
alert=$(alert_over "$dialog")
[ -n "$alert" ] || failed "Escape in the prompt brought no alert"
looks_like "$alert" "$work/headless/alert.png" "the cancel alert"
answer_alert "$alert"
"$shot" --close "$dialog" || failed "the dialog's window could not be closed"
timeout 30 tail --pid=$run -f /dev/null || kill $run 2>/dev/null
wait $run
status=$?
console=$(cat "$work/run2.txt")
[ $status -eq 0 ] || failed "printdialog (closed) exited $status: $console"
grep -q 'cancelled; nothing was printed' <<<"$console" || failed "closing the window did not cancel"

# Third run: the desktop's clipboard. A default code typed, selected, copied, pasted into the
# other field; the panel then looks as headless with both typed.
"$printdialog" -d KV3300 --output "$work/real" "$work/page.ps" >"$work/run3.txt" 2>&1 &
run=$!
dialog=$(window Print)
enable_accounting "$dialog"
xdotool mousemove --window "$dialog" 200 217 click 1 # Use Default Accounting Codes
xdotool mousemove --window "$dialog" 309 270 click 1 # Default User ID
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 'copy-7'
xdotool key ctrl+a ctrl+c
xdotool mousemove --window "$dialog" 309 327 click 1 # Default Account ID
xdotool key ctrl+v
looks_like "$dialog" "$work/headless/defaults.png" "the panel after copy and paste"
xdotool key Escape
timeout 30 tail --pid=$run -f /dev/null || kill $run 2>/dev/null
wait $run
grep -q 'cancelled; nothing was printed' "$work/run3.txt" || failed "Escape in the dialog did not cancel"

# Fourth run: a queue that rejects jobs. Print brings an alert saying so, as headless; the
# dialog stays; once the queue accepts again, Print goes through.
cupsreject KV3300
cat >"$work/rejected.script" <<'SCRIPT'
click "Print"
expect-alert "The printer KV3300 is not accepting jobs."
snapshot stopped.png
answer-alert "OK"
click "Cancel"
SCRIPT
"$printdialog" -d KV3300 --script "$work/rejected.script" --output "$work/headless" \
    "$work/page.ps" >"$work/headless3.txt" 2>&1 || failed "the stop alert headless: $(cat "$work/headless3.txt")"
"$printdialog" -d KV3300 --output "$work/real" "$work/page.ps" >"$work/run4.txt" 2>&1 &
run=$!
dialog=$(window Print)
xdotool windowfocus --sync "$dialog"
xdotool key Return
alert=$(alert_over "$dialog")
[ -n "$alert" ] || failed "Print to a rejecting queue brought no alert"
looks_like "$alert" "$work/headless/stopped.png" "the alert of a stopped print"
cupsaccept KV3300
answer_alert "$alert"
xdotool windowfocus --sync "$dialog"
xdotool key Return
timeout 30 tail --pid=$run -f /dev/null || kill $run 2>/dev/null
wait $run
status=$?
console=$(cat "$work/run4.txt")
[ $status -eq 0 ] || failed "printdialog (retried) exited $status: $console"
grep -q 'KV3300 is not accepting jobs.*; nothing was printed' <<<"$console" ||
    failed "the console did not say why the first print stopped: $console"
grep -qE '^printdialog: sent to CUPS destination KV3300 as job [0-9]+$' <<<"$console" ||
    failed "Print after the queue accepted again sent no job: $console"

# Fifth run: the queue is removed while the dialog is open. Print says it is no longer
# available; closing the dialog then cancels.
lpadmin -p Gone -E -v "file://$work/out/gone.prn" -P "$work/kv3300.ppd" 2>/dev/null ||
    failed "a second queue could not be made"
"$printdialog" -d Gone --output "$work/real" "$work/page.ps" >"$work/run5.txt" 2>&1 &
run=$!
dialog=$(window Print)
lpadmin -x Gone
xdotool windowfocus --sync "$dialog"
xdotool key Return
alert=$(alert_over "$dialog")
[ -n "$alert" ] || failed "Print to a removed queue brought no alert"
answer_alert "$alert"
"$shot" --close "$dialog" || failed "the dialog's window could not be closed"
timeout 30 tail --pid=$run -f /dev/null || kill $run 2>/dev/null
wait $run
status=$?
console=$(cat "$work/run5.txt")
[ $status -eq 0 ] || failed "printdialog (queue removed) exited $status: $console"
grep -q 'CUPS destination Gone cannot be found: .*; nothing was printed' <<<"$console" ||
    failed "the console did not say the queue is gone: $console"
grep -q 'cancelled; nothing was printed' <<<"$console" || failed "closing the window did not cancel"

[ $fail -eq 0 ] && echo "the print dialog on a display: all checks passed"
exit $fail
