#!/usr/bin/env bash
# Sets everything up and runs the program's main job on the bundled example emblem: shows what it
# holds and converts it to the binary emblem file and back into out/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"

orvane="$root/build/src/cli/orvane"
mkdir -p "$root/out"
"$orvane" info "$root/examples/crest.ovml"
"$orvane" convert "$root/examples/crest.ovml" "$root/out/crest.ovr"
"$orvane" convert "$root/out/crest.ovr" "$root/out/crest-from-ovr.ovml"
"$orvane" info "$root/out/crest.ovr"
echo "demo: wrote out/crest.ovr and out/crest-from-ovr.ovml"
