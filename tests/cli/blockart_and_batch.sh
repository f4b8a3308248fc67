# The block-art and batch commands end to end: what they write, what they refuse, and how they
# report failed files.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"

# A 2 x 2 picture (uncompressed TGA, top row first): red, green / blue, white.
printf '\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\30\40' >"$work/four.tga"
printf '\0\0\377\0\377\0\377\0\0\377\377\377' >>"$work/four.tga"

# --- blockart ---
expect_status 0 "$orvane" blockart "$work/four.tga" "$work/mosaic.ovml"
expect_status 0 "$orvane" info "$work/mosaic.ovml"
expect_in "$work/out" "layers: 225"
expect_in "$work/out" "groups: 1"
expect_in "$work/out" "size:   192 x 96"
expect_status 0 "$orvane" info --json "$work/mosaic.ovml"
expect_in "$work/out" "ブロックアート"
expect_in "$work/out" "レイヤー225"
expect_in "$work/out" '"partId": 242'
# Layer 1 is the top-left square and takes the picture's top-left red; the last one is white.
grep -A12 '"name": "レイヤー1",' "$work/out" | grep -q '"color": 4294901760,' ||
  fail "layer 1 is not the red top-left square"
grep -A12 '"name": "レイヤー225",' "$work/out" | grep -q '"color": 4294967295,' ||
  fail "layer 225 is not the white bottom-right square"

# On top of an existing emblem, with another part and the small grid; saved as a binary file.
expect_status 0 "$orvane" blockart "$work/four.tga" "$work/crest.ovr" --part 7 --size 32x32 \
  --into "$root/examples/crest.ovml"
expect_status 0 "$orvane" info "$work/crest.ovr"
expect_in "$work/out" "蒼き獅子の紋章"
expect_in "$work/out" "layers: 238"

expect_status 2 "$orvane" blockart "$work/four.tga"
expect_status 2 "$orvane" blockart "$work/four.tga" "$work/x.ovml" --part 1024
expect_status 2 "$orvane" blockart "$work/four.tga" "$work/x.ovml" --size 192
printf 'not a picture' >"$work/bad.png"
expect_status 1 "$orvane" blockart "$work/bad.png" "$work/x.ovml"
expect_in "$work/err" "bad.png"
[[ -e $work/x.ovml ]] && fail "a failed blockart wrote its output"
expect_status 1 "$orvane" blockart "$work/four.tga" "$work/x.ovml" --into "$work/missing.ovml"

# --- batch ---
mkdir -p "$work/in" "$work/out1" "$work/out2"
"$orvane" convert "$root/examples/crest.ovml" "$work/in/a.ovr" || fail "convert failed"
"$orvane" convert "$root/examples/small.ovml" "$work/in/B.OVR" || fail "convert failed"
cp "$work/in/a.ovr" "$work/in/c.ovrx"       # not an emblem file by its name
cp "$work/in/a.ovr" "$work/in/z.ovr"        # the same emblem again: the same picture
mkdir "$work/in/folder.ovr"                 # directories are never taken

expect_status 0 "$orvane" batch "$work/in" "$work/out1" --format png --jobs 1 --no-blur
expect_in "$work/out" "2 pictures written, 0 of 3 files failed"
expect_in "$work/out" ", 1 file replaced by a later one with the same output name"
[[ -f "$work/out1/蒼き獅子の紋章 (20417).png" ]] || fail "crest picture missing"
[[ -f "$work/out1/小さな星 (0).png" ]] || fail "small picture missing"
[[ $(ls "$work/out1" | wc -l) -eq 2 ]] || fail "unexpected pictures: $(ls "$work/out1")"
[[ $(head -c 4 "$work/out1/小さな星 (0).png" | od -An -c | tr -d ' ') == "211PNG" ]] ||
  fail "not a PNG file"
[[ -s "$work/err" ]] && fail "batch wrote to stderr without a terminal: $(cat "$work/err")"

# Two workers write the same bytes as one; the default type is JPEG.
expect_status 0 "$orvane" batch "$work/in" "$work/out2" --format png --jobs 2 --no-blur
for f in "$work/out1"/*; do
  cmp -s "$f" "$work/out2/$(basename "$f")" || fail "$(basename "$f") differs with 2 jobs"
done
expect_status 0 "$orvane" batch "$work/in" "$work/out2" --scale 0.5 --background 336699
[[ -f "$work/out2/小さな星 (0).jpg" ]] || fail "default JPEG output missing"

# A damaged file is named with its reason, the others still converted, and the exit status is 1.
printf 'garbage' >"$work/in/broken.ovr"
rm -f "$work/out1"/*
expect_status 1 "$orvane" batch "$work/in" "$work/out1" --format bmp
expect_in "$work/err" "broken.ovr: "
expect_in "$work/out" "2 pictures written, 1 of 4 files failed"
[[ -f "$work/out1/蒼き獅子の紋章 (20417).bmp" ]] || fail "the good files were not converted"

expect_status 2 "$orvane" batch "$work/in"
expect_status 2 "$orvane" batch "$work/in" "$work/out1" --format gif
expect_status 2 "$orvane" batch "$work/in" "$work/out1" --scale zero
expect_status 2 "$orvane" batch "$work/in" "$work/out1" --jobs 0
expect_status 2 "$orvane" batch "$work/in" "$work/out1" --background red
expect_status 1 "$orvane" batch "$work/nowhere" "$work/out1"
expect_in "$work/err" "nowhere: no such folder"
expect_status 1 "$orvane" batch "$work/in" "$work/nowhere"

finish
