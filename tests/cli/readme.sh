# The README's command-line examples run as written from a fresh checkout: each line of the
# block under "Using `orvane`" is run in a folder laid out like the repository (build/src/cli/orvane
# and examples/, no out/), and must succeed. Random art runs briefly instead of for its seconds.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"

checkout="$work/checkout"
mkdir -p "$checkout/build/src/cli"
ln -s "$orvane" "$checkout/build/src/cli/orvane"
ln -s "$root/examples" "$checkout/examples"

lines=$(awk '/^## Using `orvane`/ { section = 1; next }
             section && /^```sh/ { block = 1; next }
             block && /^```/ { exit }
             block { print }' "$root/README.md")
[[ $(grep -c 'build/src/cli/orvane' <<<"$lines") -ge 8 ]] ||
  fail "the README's block of examples was not found: $lines"

while IFS= read -r line; do
  [[ -z $line ]] && continue
  line=$(sed -E 's/--seconds [0-9.]+/--seconds 0.3/' <<<"$line")
  (cd "$checkout" && bash -c "$line") >"$work/out" 2>"$work/err" ||
    fail "README line failed: $line: $(cat "$work/err")"
done <<<"$lines"

# What the lines promise to write is there.
for made in crest.ovr packed.ovr crest.png icon.jpg mosaic.ovml evolved.ovml fitted.ovml; do
  [[ -s $checkout/out/$made ]] || fail "the README's examples did not write out/$made"
done
[[ $(ls "$checkout/out/pictures" | wc -l) -eq 3 ]] ||
  fail "batch over examples/ovr did not write three pictures: $(ls "$checkout/out/pictures")"

finish
