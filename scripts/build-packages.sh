#!/usr/bin/env bash
# Builds the Debian packages tavrel and tavrel-wizard into build/deb/.
# dpkg-buildpackage writes beside the source tree it builds, so the tree is
# first copied to build/deb/src (without build/ and .git); the checkout stays
# clean. The package build runs the test suite unless DEB_BUILD_OPTIONS has
# nocheck.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package

out=$PWD/build/deb
rm -rf "$out"
mkdir -p "$out/src"
tar --exclude=./build --exclude=./.git -cf - . | tar -xf - -C "$out/src"
(cd "$out/src" && dpkg-buildpackage -us -uc -b)
ls "$out"/*.deb
