#!/usr/bin/env bash
# Builds the Windows programs and test binaries (the `windows` preset: the
# mingw-w64 cross build) and runs the test suite under wine, in a wine prefix
# of its own in build/windows/wine-prefix. The wine server is started once,
# before the tests, so that each test program starts in about a second, and
# stopped at the end. Installs the cross compiler and wine first when they
# are missing (scripts/install-deps.sh --windows). With a Linux build in
# build/default, its tavrel is compared with tavrel.exe (windows_equivalence).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --windows
export WINEPREFIX="$PWD/build/windows/wine-prefix" WINEDEBUG=-all
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

linux_tavrel=()
[[ -x build/default/cli/tavrel ]] && linux_tavrel=(-DTAVREL_LINUX_TAVREL="$PWD/build/default/cli/tavrel")
cmake --preset windows "${linux_tavrel[@]}"
cmake --build --preset windows -j2
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1
fi
"$wineserver" -p
trap '"$wineserver" -k || true' EXIT
ctest --preset windows -j2 "$@"
