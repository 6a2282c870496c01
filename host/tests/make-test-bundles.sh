#!/usr/bin/env bash
# Builds synthetic PDE bundles that the host must refuse, each for one reason:
#   Broken.plugin        a malformed Info.plist
#   NoExecutable.plugin  no executable in Contents/MacOS
#   NoFactory.plugin     an executable without the factory function its Info.plist names
#   OtherVersion.plugin  a PDE that speaks another API version
# and, in sync-fails/, a PDE the host loads whose Sync cannot write its settings.
set -euo pipefail
out=$1 accounting_executable=$2 other_version_module=$3 sync_fails_module=$4
rm -rf "$out"
mkdir -p "$out"

# Each bundle has a factory UUID of its own: a UUID names one factory in the whole process.
info_plist() { # executable factory-function factory-uuid
    cat <<PLIST
<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0">
<dict>
	<key>CFBundleExecutable</key>
	<string>$1</string>
	<key>CFBundleIdentifier</key>
	<string>test.pde.$1</string>
	<key>CFPlugInFactories</key>
	<dict>
		<key>$3</key>
		<string>$2</string>
	</dict>
	<key>CFPlugInTypes</key>
	<dict>
		<key>BDB091F4-E57F-11D3-B5CC-0050E4603277</key>
		<array>
			<string>$3</string>
		</array>
	</dict>
</dict>
</plist>
PLIST
}

mkdir -p "$out/Broken.plugin/Contents"
printf '<?xml version="1.0"?>\n<plist version="1.0">\n<dict>\n<key>CFBundleExecutable</key>\n<string>Broken\n</dict>\n</plist>\n' \
    >"$out/Broken.plugin/Contents/Info.plist"

mkdir -p "$out/NoExecutable.plugin/Contents"
info_plist NoExecutable AccountingPluginFactory 11111111-2222-3333-4444-000000000001 >"$out/NoExecutable.plugin/Contents/Info.plist"

mkdir -p "$out/NoFactory.plugin/Contents/MacOS"
info_plist NoFactory MissingFactory 11111111-2222-3333-4444-000000000002 >"$out/NoFactory.plugin/Contents/Info.plist"
cp "$accounting_executable" "$out/NoFactory.plugin/Contents/MacOS/NoFactory"

mkdir -p "$out/OtherVersion.plugin/Contents/MacOS"
info_plist OtherVersion OtherVersionFactory 11111111-2222-3333-4444-000000000003 >"$out/OtherVersion.plugin/Contents/Info.plist"
cp "$other_version_module" "$out/OtherVersion.plugin/Contents/MacOS/OtherVersion"

mkdir -p "$out/sync-fails/SyncFails.plugin/Contents/MacOS"
info_plist SyncFails SyncFailsFactory 11111111-2222-3333-4444-000000000004 >"$out/sync-fails/SyncFails.plugin/Contents/Info.plist"
cp "$sync_fails_module" "$out/sync-fails/SyncFails.plugin/Contents/MacOS/SyncFails"
