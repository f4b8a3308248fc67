# thumbnail draws previews for file managers: no larger than the size asked, proportions kept,
# and nothing at all for a file that cannot be read.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"
unset DISPLAY WAYLAND_DISPLAY

size_of() {  # size_of PNG: "WIDTH HEIGHT" from the header
  od -An -j16 -N8 -tu1 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'
}

expect_status 0 "$orvane" thumbnail "$root/examples/crest.ovml" "$work/crest.png"
[[ $(size_of "$work/crest.png") == "256 128" ]] || fail "default preview of 192 x 96 is not 256 x 128"
expect_status 0 "$orvane" thumbnail -s 100 "$root/examples/ovr/icon.ovr" "$work/icon.png"
[[ $(size_of "$work/icon.png") == "100 100" ]] || fail "a 32 x 32 emblem previews at 100 x 100"
expect_status 0 "$orvane" thumbnail -s 16 "$root/examples/banner.ovml" "$work/small.png"
[[ $(size_of "$work/small.png") == "16 8" ]] || fail "the smallest preview of 192 x 96 is not 16 x 8"
expect_status 2 "$orvane" thumbnail -s 15 "$root/examples/banner.ovml" "$work/x.png"

printf 'not an emblem' >"$work/damaged.ovml"
expect_status 1 "$orvane" thumbnail "$work/damaged.ovml" "$work/damaged.png"
[[ ! -e "$work/damaged.png" ]] || fail "a damaged emblem left a preview"
expect_status 2 "$orvane" thumbnail -s 0 "$root/examples/crest.ovml" "$work/x.png"
expect_status 2 "$orvane" thumbnail -s 12x "$root/examples/crest.ovml" "$work/x.png"
expect_status 2 "$orvane" thumbnail "$root/examples/crest.ovml"
[[ ! -e "$work/x.png" ]] || fail "a usage error left a picture"

finish
