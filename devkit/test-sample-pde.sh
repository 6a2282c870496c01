#!/usr/bin/env bash
# A PDE written as for the Mac (C, Carbon, an Interface Builder nib, the application PDE type)
# is built against the installed kit with its pkg-config line alone, put in a bundle, and run
# by the installed printdialog: its panel is scripted, its Summary shown in two languages, its
# settings saved and restored; the listing names a bundle that is not a PDE and loads a bundle
# reached twice once.
set -euo pipefail
build_dir=$1 sample_dir=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
# The installed kit finds its own libraries by their run paths, as an outsider's would.
unset LD_LIBRARY_PATH
flags=$(pkg-config --cflags --libs carbon-runtime)
if nm -D "$prefix/lib/libCoreFoundation.so" | grep __asan_init >/dev/null; then
    flags="$flags -fsanitize=address,undefined"
fi

fail() { echo "FAIL: $*" >&2; exit 1; }
expect_in() { grep -qF -- "$2" "$1" || fail "$1 lacks: $2"; }

# The bundle, laid out as on the Mac.
pdes="$work/pdes"
bundle="$pdes/SamplePDE.plugin"
mkdir -p "$bundle/Contents/MacOS" "$bundle/Contents/Resources"
cc -std=c99 -Wall -Wextra -Werror -shared -fPIC -o "$bundle/Contents/MacOS/SamplePDE" \
    "$sample_dir/SamplePDE.c" $flags
cp "$sample_dir/Info.plist" "$bundle/Contents/"
cp -R "$sample_dir/English.lproj" "$sample_dir/German.lproj" "$bundle/Contents/Resources/"

printdialog="$prefix/bin/printdialog"
run() { LANGUAGE=en LC_ALL=C "$printdialog" --pde "$pdes" "$@"; }

# Set the panel, look at the Summary, print, keep the settings.
run --script "$sample_dir/print.script" --output "$work/first" \
    --save-settings "$work/settings.plist" >"$work/first.log" 2>&1 ||
    { cat "$work/first.log"; fail "the first print"; }
expect_in "$work/first/summary.txt" "Quality: Best"
expect_in "$work/first/summary.txt" "Borders: On"
expect_in "$work/first/summary.txt" "Color Mode: Grayscale"
expect_in "$work/settings.plist" "com.example.print.pde.Sample.settings"
grep -A8 "com.example.print.pde.Sample.settings" "$work/settings.plist" | grep -q "<data>" ||
    fail "the settings item is not kept as data"

# The saved settings come back into the panel.
run --settings "$work/settings.plist" --script "$sample_dir/restore.script" \
    --output "$work/second" >"$work/second.log" 2>&1 ||
    { cat "$work/second.log"; fail "the restored print"; }
expect_in "$work/second/summary.txt" "Color Mode: Black & White"
expect_in "$work/second/summary.txt" "Quality: Best"

# The Summary in the person's language.
cat >"$work/german.script" <<'SCRIPT'
# synthetic test data
choose PDlg:1 "Beispieloptionen"
choose PDlg:1 "Übersicht"
dump summary.txt
click PDlg:2
SCRIPT
LANGUAGE=de LC_ALL=C "$printdialog" --pde "$pdes" --script "$work/german.script" \
    --output "$work/german" >"$work/german.log" 2>&1 || { cat "$work/german.log"; fail "German"; }
expect_in "$work/german/summary.txt" "Qualität: Normal"
expect_in "$work/german/summary.txt" "Farbmodus: Farbe"

# A bundle that is not a PDE of a shown type is named; one reached twice loads once.
other="$pdes/PageSetupOnly.plugin/Contents"
mkdir -p "$other"
# A page setup PDE of its own (its own factory and identifier), which the print dialog leaves out.
sed -e 's/BCB07250-E57F-11D3-8CA6-0050E4603277/B9A0DA98-E57F-11D3-9E83-0050E4603277/' \
    -e 's/5B0D6A3E-2C41-4E8A-9F37-1D2B3C4D5E6F/0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F0/' \
    -e 's/com.example.print.pde.Sample/com.example.print.pde.PageSetupOnly/' \
    "$sample_dir/Info.plist" >"$other/Info.plist"
mkdir -p "$work/more"
ln -s "$bundle" "$work/more/Linked.plugin"
LANGUAGE=en "$printdialog" --pde "$pdes" --pde "$work/more" --pde "$pdes" --list --verbose \
    >"$work/list.txt" 2>&1 || { cat "$work/list.txt"; fail "the listing"; }
expect_in "$work/list.txt" "PageSetupOnly.plugin"
expect_in "$work/list.txt" "not shown: it registers no factory for a PDE type the print dialog shows"
expect_in "$work/list.txt" "type:         application print dialog"
[ "$(grep -c 'title:        Sample Options' "$work/list.txt")" = 1 ] ||
    fail "the sample PDE is not listed exactly once"
echo "the sample PDE built against the kit, ran, summarised and kept its settings"
