# render (and convert to a picture extension) draws an emblem into each picture format headless.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"
unset DISPLAY WAYLAND_DISPLAY

magic() {  # magic FILE COUNT: the first COUNT bytes in hex
  od -An -tx1 -N"$2" "$1" | tr -d ' \n'
}

expect_status 0 "$orvane" render "$root/examples/crest.ovml" "$work/crest.png"
[[ $(magic "$work/crest.png" 8) == 89504e470d0a1a0a ]] || fail "crest.png is not a PNG"
expect_status 0 "$orvane" convert "$root/examples/crest.ovml" "$work/crest.JPG"
[[ $(magic "$work/crest.JPG" 3) == ffd8ff ]] || fail "crest.JPG is not a JPEG"
expect_status 0 "$orvane" render --scale 1 --blur "$root/examples/small.ovml" "$work/small.bmp"
[[ $(magic "$work/small.bmp" 2) == 424d ]] || fail "small.bmp is not a BMP"
# A 32 x 32 emblem at scale 1 makes a 32 x 32 picture: 54 header bytes and 32 rows of 96 bytes.
[[ $(wc -c <"$work/small.bmp") -eq $((54 + 32 * 96)) ]] || fail "small.bmp has the wrong size"
expect_status 0 "$orvane" render --background 203040 --no-color-correction \
  "$root/examples/small.ovml" "$work/small.tga"
[[ -s "$work/small.tga" ]] || fail "small.tga is empty"

# The same emblem via the binary file draws the same picture (small.ovml keeps to what the
# binary file holds: 6-bit colour channels and the eight alpha levels).
expect_status 0 "$orvane" convert "$root/examples/small.ovml" "$work/small.ovr"
expect_status 0 "$orvane" render --scale 2 "$work/small.ovr" "$work/from-ovr.png"
expect_status 0 "$orvane" render --scale 2 "$root/examples/small.ovml" "$work/from-ovml.png"
cmp -s "$work/from-ovr.png" "$work/from-ovml.png" || fail "ovr and ovml of one emblem differ"

expect_status 2 "$orvane" render "$root/examples/small.ovml"
expect_status 2 "$orvane" render --background purple "$root/examples/small.ovml" "$work/x.png"
expect_status 2 "$orvane" render --scale 0 "$root/examples/small.ovml" "$work/x.png"
expect_status 1 "$orvane" render "$root/examples/small.ovml" "$work/x.gif"
expect_status 1 "$orvane" render "$work/missing.ovml" "$work/x.png"
expect_in "$work/err" "missing.ovml"
[[ ! -e "$work/x.png" ]] || fail "a failed render left a picture behind"

finish
