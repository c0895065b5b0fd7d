#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, if any is
# missing. With --demo only those that build and run the two programs (what
# run-demo.sh needs), with --bench also the benchmark peers, with --lint the
# style and static checkers, with --package the tools that build and check
# the Debian packages (the build dependencies of debian/control are among
# the packages above), with --browser Chromium and Node.js for the browser
# oracle and its npm package (never a browser download), with --servers the
# web servers and curl for the test that runs them (Apache's program and
# modules alone, without its service; nginx's package starts its service
# where systemd runs), with --windows the mingw-w64 cross compiler, wine
# and the sources of GoogleTest for the Windows build and its tests under
# wine (the `windows` preset). Runs apt-get as root (through sudo when not root).
set -euo pipefail

build=(cmake ninja-build g++ qt6-base-dev libcli11-dev nlohmann-json3-dev fonts-dejavu-core)
tests=(libgtest-dev libgmock-dev xvfb xauth imagemagick x11-utils clang-14 libclang-rt-14-dev
       python3-feedparser)
packages=()
demo=false
browser=false
for option in "$@"; do
  case "$option" in
    --demo) demo=true ;;
    --bench) packages+=(libxml2-dev libgumbo-dev libbenchmark-dev python3 time) ;;
    --lint) packages+=(clang-format clang-tidy) ;;
    --browser)
      browser=true
      packages+=(chromium)
      command -v npm >/dev/null || packages+=(nodejs npm)
      ;;
    --servers) packages+=(apache2-bin nginx curl) ;;
    --windows) packages+=(g++-mingw-w64-x86-64-posix wine64 googletest nsis openbox xdotool) ;;
    --package) packages+=(build-essential dpkg-dev debhelper scdoc lintian desktop-file-utils
                          appstream man-db bash-completion) ;;
    *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
  esac
done

if $demo; then
  packages=("${build[@]}" "${packages[@]}")
else
  packages=("${build[@]}" "${tests[@]}" "${packages[@]}")
fi

# The oracle's node modules, exactly as locked, next to its script.
install_browser_driver() {
  local folder
  folder="$(dirname "$0")/../tests/browser"
  [[ -d "$folder/node_modules/playwright-core" ]] && return 0
  (cd "$folder" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --silent)
}

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [[ ${#missing[@]} -eq 0 ]]; then
  if $browser; then install_browser_driver; fi
  exit 0
fi

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
  -o DPkg::Lock::Timeout=600 "${missing[@]}"
if $browser; then install_browser_driver; fi
