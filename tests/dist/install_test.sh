#!/usr/bin/env bash
# Installs the build into a scratch prefix with cmake --install and uses the
# installed programs from there as a new user would: versions (the wizard's
# without a display), a page added and listed, and the example hive read as
# local.reg.
# DESTDIR keeps an absolute folder (the package build's /etc) in the scratch
# tree too. MAN_PAGES is ON (or a path) when the build made the man pages.
# Usage: install_test.sh CMAKE BUILD_DIR VERSION MAN_PAGES
set -euo pipefail
cmake=$1
build=$2
version=$3
man_pages=${4:-OFF}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
prefix=$root$scratch/prefix
DESTDIR=$root "$cmake" --install "$build" --prefix "$scratch/prefix" >/dev/null
tavrel=$prefix/bin/tavrel
wizard=$prefix/bin/tavrel-wizard

fail() {
    echo "FAIL: $*"
    exit 1
}

[[ $version != unknown ]] || fail "no version was read from debian/changelog"
[[ $("$tavrel" --version) == "tavrel $version" ]] || fail "tavrel --version"

headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
[[ ! -x $wizard || $("${headless[@]}" "$wizard" --version) == "tavrel-wizard $version" ]] ||
    fail "tavrel-wizard --version"

page=$scratch/page.html
"$tavrel" add "$page" --link /news.htm --title "Installed" >/dev/null
"$tavrel" list "$page" | grep -q "title:       Installed" || fail "add and list"

# The example hive, copied to local.reg as the README says, is read whole.
mkdir "$scratch/registry"
example=$(find "$root" -path "*/etc/tavrel-wizard/registry/local.reg.example")
[[ -n $example ]] || fail "no example hive installed"
cp "$example" "$scratch/registry/local.reg"
docmap=$(TAVREL_REGISTRY_DIR=$scratch/registry "$tavrel" docmap 2>&1)
grep -q "^/docs .*/srv/www/htdocs/manuals$" <<<"$docmap" || fail "example hive: $docmap"
[[ $docmap != *"line"* ]] || fail "example hive reported malformed: $docmap"

files=(share/bash-completion/completions/tavrel share/zsh/vendor-completions/_tavrel)
if [[ $man_pages != OFF && $man_pages != *NOTFOUND ]]; then
    files+=(share/man/man1/tavrel.1 share/man/man5/tavrel-registry.5)
fi
for file in "${files[@]}"; do
    [[ -f $prefix/$file ]] || fail "not installed: $file"
done
