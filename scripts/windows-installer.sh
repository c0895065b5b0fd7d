#!/usr/bin/env bash
# Builds the Windows installer, build/windows/tavrel-setup-VERSION.exe, from
# the programs of the `windows` preset (built by scripts/windows-tests.sh or
# `cmake --build --preset windows`) with Debian's nsis, then tries it under
# wine in a fresh prefix of its own: a silent install, tavrel.exe --version
# from the installed folder, a silent uninstall, and nothing left behind in
# the folder, the Start menu or the registry.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v makensis >/dev/null || scripts/install-deps.sh --windows
build=$PWD/build/windows
# The version both programs carry: the newest entry of debian/changelog,
# without epoch and Debian revision (as cmake/version.cmake reads it).
version=$(head -1 debian/changelog | sed -E 's/^[^ ]+ \(([0-9]+:)?([^ )]+)\).*/\2/; s/-[^-]*$//')
setup=$build/tavrel-setup-$version.exe
# The installer holds what the release zip holds, stripped.
stage=$build/installer-stage
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" dist/windows/tavrel.nsi
echo "installer: $setup ($(stat -c %s "$setup") bytes)"

export WINEPREFIX=$build/installer-prefix WINEDEBUG=-all
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$stage"' EXIT
"$wine" wineboot -i >/dev/null 2>&1

fail() {
    echo "FAIL: $*"
    exit 1
}
folder="$WINEPREFIX/drive_c/Program Files/Tavrel Wizard"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TavrelWizard'

"$wine" "$setup" /S
"$wineserver" -w
[[ -f $folder/tavrel-wizard.exe && -f $folder/uninstall.exe ]] || fail "the programs were not installed"
"$wine" reg query "$key" >/dev/null 2>&1 || fail "no uninstaller is registered"
"$wine" reg query 'HKLM\SOFTWARE\Ostrim' >/dev/null 2>&1 && fail "the example settings were imported unasked"
installed=$("$wine" "C:\\Program Files\\Tavrel Wizard\\tavrel.exe" --version 2>/dev/null | tr -d '\r')
echo "installed: $installed"
[[ $installed == "tavrel $version" ]] || fail "tavrel.exe --version printed \"$installed\""
wizard=$("$wine" "C:\\Program Files\\Tavrel Wizard\\tavrel-wizard.exe" --version 2>/dev/null | tr -d '\r')
[[ $wizard == "tavrel-wizard $version" ]] || fail "tavrel-wizard.exe --version printed \"$wizard\""

"$wine" "C:\\Program Files\\Tavrel Wizard\\uninstall.exe" /S
# The uninstaller runs from a copy of itself and ends after the call returns.
"$wineserver" -w
[[ ! -e $folder ]] || fail "left behind: $(ls -A "$folder")"
"$wine" reg query "$key" >/dev/null 2>&1 && fail "the uninstaller is still registered"
find "$WINEPREFIX/drive_c" -iname 'Tavrel Wizard.lnk' | grep -q . && fail "the Start-menu entry is left"
echo "PASS: installed silently, ran, uninstalled silently, nothing left"
