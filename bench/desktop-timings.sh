#!/usr/bin/env bash
# Two timings of printdialog as a person meets it, as medians of RUNS runs (default 15):
#  1. process start to the dialog's first frame on a display (a private Xvfb), read from the
#     display backend's report (CARBONRT_DISPLAY_REPORT_FRAME);
#  2. a headless print of one job to a CUPS queue (a private scheduler; no snapshots), beside lp
#     sending the same file to the same queue, alternating, in the same run.
# Usage: bench/desktop-timings.sh [build folder, default build/default]. Needs root for cupsd.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source_dir/build/default}
printdialog=$build/bin/printdialog
runs=${RUNS:-15}
source "$source_dir/host/tests/private-cups.sh"
start_private_cups desktop-timings "$source_dir/resources/printers/tovek-kv3300.ppd"
exec 3>"$work/display-number"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xserver=$!
exec 3>&-
trap 'kill $xserver $scheduler 2>/dev/null; wait $xserver $scheduler 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display-number" ] && break; sleep 0.1; done

now_ms() { date +%s.%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); printf "%.1f", NR % 2 ? v[m] : (v[m] + v[m + 1]) / 2 }'; }
elapsed_ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", (b - a) * 1000 }'; }

printf '%%!PS\n/Helvetica findfont 12 scalefont setfont 72 720 moveto (a page) show showpage\n' \
    >"$work/page.ps"

# 1. First frame. The dialog is then cancelled with Escape, as a person would.
for _ in $(seq "$runs"); do
    rm -f "$work/frame.txt"
    start=$(now_ms)
    DISPLAY=:$(cat "$work/display-number") GTK_A11Y=none CARBONRT_DISPLAY_REPORT_FRAME=1 \
        "$printdialog" --output "$work/out" "$work/page.ps" \
        >/dev/null 2>"$work/frame.txt" </dev/null &
    run=$!
    for _ in $(seq 200); do grep -qs 'first frame at' "$work/frame.txt" && break; sleep 0.01; done
    frame=$(sed -n 's/^display: first frame at //p' "$work/frame.txt")
    elapsed_ms "$start" "$frame" >>"$work/frames.txt"
    export DISPLAY=:$(cat "$work/display-number")
    window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Print$' | head -1)
    [ -n "$window" ] && xdotool windowfocus --sync "$window" key Escape
    timeout 10 tail --pid=$run -f /dev/null || kill $run
    wait $run || true
    unset DISPLAY
done
echo "first frame on the display: median $(median <"$work/frames.txt") ms of $runs runs"

# 2. A headless print to the queue, beside lp.
echo 'click "Print"' >"$work/print.script"
for _ in $(seq "$runs"); do
    start=$(now_ms)
    "$printdialog" -d KV3300 --script "$work/print.script" --output "$work/out" \
        "$work/page.ps" >/dev/null </dev/null
    end=$(now_ms)
    elapsed_ms "$start" "$end" >>"$work/printdialog.txt"
    start=$(now_ms)
    lp -d KV3300 "$work/page.ps" >/dev/null
    end=$(now_ms)
    elapsed_ms "$start" "$end" >>"$work/lp.txt"
done
pd=$(median <"$work/printdialog.txt")
lp=$(median <"$work/lp.txt")
echo "headless print to CUPS: printdialog median $pd ms, lp median $lp ms," \
    "ratio $(awk -v a="$pd" -v b="$lp" 'BEGIN { printf "%.2f", a / b }') ($runs runs each)"
