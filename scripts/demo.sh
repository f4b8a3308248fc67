#!/usr/bin/env bash
# Sets up what the main job needs and runs it: the command line on the bundled example emblems
# (what the crest holds, a conversion to the binary emblem file and back, pictures of the crest,
# the banner and the icon in out/), then the editor on the crest. Where no display can be opened,
# the editor draws its window offscreen into out/editor.png instead. Builds only the programs the
# demo runs; the test command builds the rest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" orvane orvane-editor

orvane="$root/build/src/cli/orvane"
editor="$root/build/src/app/orvane-editor"
mkdir -p "$root/out"
"$orvane" info "$root/examples/crest.ovml"
"$orvane" convert "$root/examples/crest.ovml" "$root/out/crest.ovr"
"$orvane" convert "$root/out/crest.ovr" "$root/out/crest-from-ovr.ovml"
"$orvane" info "$root/out/crest.ovr"
"$orvane" render "$root/examples/crest.ovml" "$root/out/crest.png"
"$orvane" render "$root/examples/banner.ovml" "$root/out/banner.png"
"$orvane" render --scale 8 "$root/examples/icon.ovml" "$root/out/icon.png"
echo "demo: wrote out/crest.ovr, out/crest-from-ovr.ovml, out/crest.png, out/banner.png and" \
  "out/icon.png"

if [[ -n ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]] && "$editor" --version >/dev/null 2>&1 &&
   [[ -z ${CI:-} ]]; then
  echo "demo: starting the editor on examples/crest.ovml (close its window to finish)"
  if "$editor" "$root/examples/crest.ovml"; then exit 0; fi
  echo "demo: the editor could not open a window here"
fi
# No display: draw the editor's window offscreen, on a screen as large as a desktop's.
screen="$root/out/offscreen-screen.json"
cat >"$screen" <<'JSON'
{ "screens": [ { "name": "demo", "x": 0, "y": 0, "width": 1400, "height": 800,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] }
JSON
QT_QPA_PLATFORM="offscreen:configfile=$screen" XDG_CONFIG_HOME="$root/out/config" \
  XDG_STATE_HOME="$root/out/state" \
  "$editor" --screenshot "$root/out/editor.png" "$root/examples/crest.ovml" 2>/dev/null
echo "demo: no display to show the editor on; wrote a picture of its window to out/editor.png"
