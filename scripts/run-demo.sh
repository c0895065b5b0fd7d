#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the bundled demo:
# a copy of demo/ in build/demo-run, with a registry hive whose document map
# points at the copy's document tree; then opens the wizard on the demo page
# when there is a display. The checkout itself is never changed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default

run=$PWD/build/demo-run
rm -rf "$run"
mkdir -p "$run"
cp -r demo/htdocs demo/archive "$run/"
mkdir -p "$run/registry"
sed "s|@DEMO_ROOT@|$run|g" demo/registry/local.reg.in > "$run/registry/local.reg"
export TAVREL_REGISTRY_DIR=$run/registry

tavrel=build/default/cli/tavrel
page=$run/htdocs/tavrel.html
"$tavrel" add "$page" --link /news/opening.htm --title "The new server is open" \
  --description "Our pages now live on a new machine."
cat "$page"
echo "Demo page written: $page"

# Then the wizard itself on that page, where there is a screen to show it on.
wizard=build/default/app/tavrel-wizard
case "${QT_QPA_PLATFORM:-}" in offscreen | minimal) headless=1 ;; *) headless= ;; esac
if [ -z "$headless" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Opening the wizard on the demo page (Browse lists the demo document tree)"
  "$wizard" "$page"
else
  echo "No display here. On a desktop, open the wizard on the demo page with:"
  echo "  TAVREL_REGISTRY_DIR=$TAVREL_REGISTRY_DIR $wizard $page"
fi
