#!/usr/bin/env bash
# Sets everything up and runs the program's main job on the bundled example emblem: shows what it
# holds, converts it to the binary emblem file and back, and draws it into a PNG, all in out/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"

orvane="$root/build/src/cli/orvane"
mkdir -p "$root/out"
"$orvane" info "$root/examples/crest.ovml"
"$orvane" convert "$root/examples/crest.ovml" "$root/out/crest.ovr"
"$orvane" convert "$root/out/crest.ovr" "$root/out/crest-from-ovr.ovml"
"$orvane" info "$root/out/crest.ovr"
"$orvane" render "$root/examples/crest.ovml" "$root/out/crest.png"
echo "demo: wrote out/crest.ovr, out/crest-from-ovr.ovml and out/crest.png"
