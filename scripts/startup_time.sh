#!/usr/bin/env bash
# Measures the editor's start: the wall time from starting the process to the first picture of
# its window (offscreen, with the bundled crest), and its resident memory then. Runs it N times
# (default 10) and prints each run and the median. Build first (scripts/setup.sh orvane-editor).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
editor="$root/build/src/app/orvane-editor"
runs=${1:-10}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
times=()
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  report=$(QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$scratch/config" \
    XDG_STATE_HOME="$scratch/state" "$editor" --startup-report "$root/examples/crest.ovml" \
    2>/dev/null)
  painted=$(awk '/^first-paint-ns/ {print $2}' <<<"$report")
  rss=$(awk '/^rss-kb/ {print $2}' <<<"$report")
  ms=$(((painted - start) / 1000000))
  times+=("$ms")
  echo "run $((i + 1)): first picture after ${ms} ms, resident ${rss} kB"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}')
echo "median: ${median} ms to the first picture"
