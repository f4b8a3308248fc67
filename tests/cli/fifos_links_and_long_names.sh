# Files that are not what they seem: FIFOs are refused at once instead of waiting for a writer,
# broken links are reported, long names are saved, and a failed write names both files.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"

mkdir -p "$work/emblems" "$work/pictures"
"$orvane" convert "$root/examples/small.ovml" "$work/emblems/a.ovr" || fail "convert failed"
mkfifo "$work/emblems/z.ovr" "$work/pipe.ovml" "$work/pipe.png" "$work/pipe.dna"
ln -s nowhere.ovr "$work/emblems/gone.ovr"
ln -s loop.ovr "$work/emblems/loop.ovr"

# Each of these would wait forever for a writer if it opened the FIFO.
expect_status 1 timeout 20 "$orvane" batch "$work/emblems" "$work/pictures" --format png
expect_in "$work/err" "z.ovr: cannot open: not a regular file"
expect_in "$work/err" "gone.ovr: cannot open: No such file or directory"
expect_in "$work/err" "loop.ovr: cannot open: Too many levels of symbolic links"
expect_in "$work/out" "1 picture written, 3 of 4 files failed"
expect_status 1 timeout 10 "$orvane" info "$work/pipe.ovml"
expect_in "$work/err" "not a regular file"
expect_status 1 timeout 10 "$orvane" blockart "$work/pipe.png" "$work/x.ovml"
expect_in "$work/err" "not a regular file"
expect_status 1 timeout 10 "$orvane" randomart "$work/pipe.png" "$work/x.ovml" --iterations 1
expect_in "$work/err" "not a regular file"
expect_status 1 timeout 10 "$orvane" randomart "$root/examples/banner.png" "$work/x.ovml" \
  --iterations 1 --dna-in "$work/pipe.dna"
expect_in "$work/err" "not a regular file"

# A name of 250 bytes, as the file system allows, is saved.
long=$(printf 'n%.0s' {1..245}).ovml
expect_status 0 "$orvane" convert "$root/examples/small.ovml" "$work/$long"
[[ -f $work/$long ]] || fail "the 250-byte name was not saved"

# An emblem whose name fills the output name to the file system's limit of 255 bytes.
name=$(printf 'a%.0s' {1..300})
printf '<ov name="%s" width="32" height="32"></ov>' "$name" >"$work/long.ovml"
mkdir -p "$work/long"
expect_status 0 "$orvane" convert "$work/long.ovml" "$work/long/long.ovr"
expect_status 0 "$orvane" batch "$work/long" "$work/pictures" --format png
made=$(printf 'a%.0s' {1..247})' (0).png'
[[ ${#made} -eq 255 && -f $work/pictures/$made ]] || fail "the 255-byte picture name was not saved"

# A picture that cannot be written is reported with the emblem it came from and its own name.
rm -f "$work/emblems/z.ovr" "$work/emblems/gone.ovr" "$work/emblems/loop.ovr"
touch "$work/pictures/小さな星 (0).png"
chmod 444 "$work/pictures/小さな星 (0).png"
expect_status 1 "$orvane" batch "$work/emblems" "$work/pictures" --format png
expect_in "$work/err" "a.ovr: cannot write $work/pictures/小さな星 (0).png: file is read-only"

finish
