# info reports what an emblem holds; convert between the same format reproduces the bytes.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"

expect_status 0 "$orvane" info "$root/examples/crest.ovml"
expect_in "$work/out" "size:   192 x 96"
expect_in "$work/out" "layers: 13"
expect_in "$work/out" "groups: 5"

expect_status 0 "$orvane" info --json "$root/examples/small.ovml"
expect_in "$work/out" '"kind": "info"'
expect_in "$work/out" '"width": 32'
expect_in "$work/out" '"partId": 512'
expect_in "$work/out" '"rotationCentreY": 0'
[[ $(grep -c '"kind": "layer"' "$work/out") -eq 3 ]] || fail "--json does not list 3 layers"

# Upper-case extensions are accepted.
cp "$root/examples/small.ovml" "$work/SMALL.OVML"
expect_status 0 "$orvane" convert "$work/SMALL.OVML" "$work/copy.ovml"
cmp -s "$root/examples/small.ovml" "$work/copy.ovml" || fail "ovml -> ovml changed the bytes"

finish
