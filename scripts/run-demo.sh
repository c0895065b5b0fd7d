#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the bundled demo:
# a copy of demo/ in build/demo-run, with a registry hive whose document map
# points at the copy's document tree; then opens the wizard on the demo page
# (or, without a display, updates it with the tavrel command). The checkout
# itself is never changed. Installs only the packages that build and run the
# programs.
set -euo pipefail
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
  echo "Updated: $page"
  echo "Its feed, written beside it by the same build: ${page%.html}.atom"
  head -n 12 "${page%.html}.atom"
  echo "On a desktop: TAVREL_REGISTRY_DIR=$TAVREL_REGISTRY_DIR $wizard $page"
fi
