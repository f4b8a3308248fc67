# What hostile files cost: a few bytes that claim a huge picture or emblem, and a file of millions
# of nodes, are refused (or drawn small) with memory nowhere near what they claim. Each command's
# peak memory must stay under 200 MB (the 64 MiB file itself is read whole).
orvane=$1
root=$2
peak_memory=$3
source "$(dirname "$0")/cli_test_lib.bash"

bound=200
within() {  # within STATUS COMMAND...: the status expected and the peak memory under the bound
  local expected=$1
  shift
  "$peak_memory" "$@" >"$work/out" 2>"$work/err"
  local status=$? megabytes
  megabytes=$(sed -n 's/^peak memory: \([0-9]*\) MB$/\1/p' "$work/err")
  [[ $status -eq $expected ]] || fail "'$*' exited $status, expected $expected: $(cat "$work/err")"
  [[ -n $megabytes && $megabytes -lt $bound ]] || fail "'$*' took ${megabytes:-?} MB"
}

# A 1 KB BMP that claims 16384 x 16384 pixels of 24 bits.
{
  printf 'BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\0\x40\0\0\0\x40\0\0\1\0\x18\0'
  head -c 994 /dev/zero
} >"$work/huge.bmp"
# A run-length TGA that claims 16384 x 16384 and holds a few packets.
{
  printf '\0\0\x0a\0\0\0\0\0\0\0\0\0\0\x40\0\x40\x18\x20'
  for _ in 1 2 3 4; do printf '\xff\x10\x20\x30'; done
} >"$work/huge.tga"
# A JPEG of 16 x 16 pixels whose frame header claims 16384 x 16384.
"$orvane" render --scale 0.5 "$root/examples/small.ovml" "$work/small.jpg" || fail "render failed"
frame=$(LC_ALL=C grep -obUaP '\xff\xc0' "$work/small.jpg" | head -n 1 | cut -d: -f1)
printf '\x40\x00\x40\x00' | dd of="$work/small.jpg" bs=1 seek=$((frame + 5)) conv=notrunc 2>/dev/null
for picture in huge.bmp huge.tga small.jpg; do
  within 1 "$orvane" blockart "$work/$picture" "$work/x.ovml"
  expect_in "$work/err" "file cut short"
  within 1 "$orvane" randomart "$work/$picture" "$work/x.ovml" --iterations 1
  expect_in "$work/err" "file cut short"
done

# A 4096 x 4096 emblem in a few bytes: at the default scale 16384 x 16384 pixels.
printf '<ov width="4096" height="4096"><layer type="1"/></ov>' >"$work/wide.ovml"
within 1 "$orvane" render "$work/wide.ovml" "$work/wide.png"
expect_in "$work/err" "picture would be above 256 megapixels"

# 64 MiB of <layer/>: eight million nodes.
{
  printf '<ov>'
  yes '<layer/>' | tr -d '\n' | head -c $((64 * 1024 * 1024 - 9))
  printf '</ov>'
} >"$work/layers.ovml"
within 1 "$orvane" info --json "$work/layers.ovml"
expect_in "$work/err" "more than 200000 XML nodes"

finish
