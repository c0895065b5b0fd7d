#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need, if
# any is missing. With --bench also the benchmark peers, with --lint the style
# and static checkers, with --package the tools that build and check the
# Debian packages (the build dependencies of debian/control are among the
# packages above). Runs apt-get as root (through sudo when not root).
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev libcli11-dev
          nlohmann-json3-dev fonts-dejavu-core xvfb xauth imagemagick x11-utils
          clang-14 libclang-rt-14-dev)
for option in "$@"; do
  case "$option" in
    --bench) packages+=(libxml2-dev libgumbo-dev libbenchmark-dev python3 time) ;;
    --lint) packages+=(clang-format clang-tidy) ;;
    --package) packages+=(build-essential dpkg-dev debhelper scdoc lintian desktop-file-utils
                          appstream man-db bash-completion) ;;
    *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
  -o DPkg::Lock::Timeout=600 "${missing[@]}"
