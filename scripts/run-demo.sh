#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the bundled demo:
# a copy of demo/ in build/demo-run, with a registry hive whose document map
# points at the copy's document tree; then opens the wizard on the demo page
# (or, without a display, updates it with the tavrel command). The checkout
# itself is never changed. Installs only the packages that build and run the
# programs. With --server apache or --server nginx the settings come from that
# server's demo configuration (named in the hive value ServerConfig) instead
# of the hive's document map.
set -euo pipefail
server=
case "${1:-}" in
  "") ;;
  --server=apache | --server=nginx) server=${1#--server=} ;;
  --server) server=${2:-} ;;
  *) echo "usage: run-demo.sh [--server apache|nginx]" >&2; exit 2 ;;
esac
case "$server" in "" | apache | nginx) ;; *) echo "run-demo.sh: --server apache or nginx" >&2; exit 2 ;; esac
cd "$(dirname "$0")/.."
# Only what builds and runs the two programs; run-tests.sh adds the test tools.
scripts/install-deps.sh --demo
cmake --preset default
cmake --build --preset default --target tavrel-wizard tavrel

run=$PWD/build/demo-run
rm -rf "$run"
mkdir -p "$run"
cp -r demo/htdocs demo/archive "$run/"
mkdir -p "$run/registry"
sed "s|@DEMO_ROOT@|$run|g" demo/registry/local.reg.in > "$run/registry/local.reg"
if [ "$server" = apache ]; then
  mkdir -p "$run/apache2/sites"
  sed "s|@DEMO_ROOT@|$run|g" demo/apache2/apache2.conf.in > "$run/apache2/apache2.conf"
  cp demo/apache2/sites/demo.conf "$run/apache2/sites/"
  config=$run/apache2/apache2.conf
elif [ "$server" = nginx ]; then
  mkdir -p "$run/nginx"
  sed "s|@DEMO_ROOT@|$run|g" demo/nginx/nginx.conf.in > "$run/nginx/nginx.conf"
  config=$run/nginx/nginx.conf
fi
if [ -n "$server" ]; then
  printf '\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n"ServerConfig"="%s"\r\n' \
    "$config" >> "$run/registry/local.reg"
fi
export TAVREL_REGISTRY_DIR=$run/registry
# A session without one (su, ssh, a container) gets a private runtime
# folder, so the toolkit has no reason to warn.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=$run/xdg-runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

page=$run/htdocs/tavrel.html
wizard=build/default/app/tavrel-wizard
tavrel=build/default/cli/tavrel

# The wizard on the demo page, where there is a screen to show it on;
# without one, the same job done by the tavrel command.
case "${QT_QPA_PLATFORM:-}" in offscreen | minimal) headless=1 ;; *) headless= ;; esac
if [ -z "$headless" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Opening the wizard on $page (Browse lists the demo document tree)"
  "$wizard" "$page"
else
  echo "No display here: adding an entry with tavrel instead of the wizard."
  "$tavrel" add "$page" --link /docs/guide/links.htm --title "Links we like" \
    --description "A short list of sites worth a visit."
  "$tavrel" list "$page"
  "$tavrel" docmap
  echo "Updated: $page"
  echo "Its feed, written beside it by the same build: ${page%.html}.atom"
  head -n 12 "${page%.html}.atom"
  echo "On a desktop: TAVREL_REGISTRY_DIR=$TAVREL_REGISTRY_DIR $wizard $page"
fi
