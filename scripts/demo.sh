#!/usr/bin/env bash
# Sets up what the main job needs and runs it on the bundled example emblems: shows what the
# crest holds, converts it to the binary emblem file and back, and draws the crest, the banner
# and the icon into PNG pictures, all in out/. Builds only the programs the demo runs; the test
# command builds the rest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" orvane

orvane="$root/build/src/cli/orvane"
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
