# What orvane prints: a failed write to standard output is a failure, and control characters
# from names and file names reach the terminal only as escapes.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"

# Writes that fail (as on a full disk) give status 1 and say so.
for args in "info --json" "info" "--help" "--version"; do
  # shellcheck disable=SC2086  # the words of the command
  "$orvane" $args "$root/examples/crest.ovml" >/dev/full 2>"$work/err"
  status=$?
  [[ $status -eq 1 ]] || fail "'orvane $args' into /dev/full exited $status, expected 1"
  expect_in "$work/err" "standard output: cannot write"
done

# A name that would retitle the terminal (ESC ] 0 ; ... BEL) and a C1 control (U+009B).
printf '<ov name="a&#27;]0;owned&#7;b&#155;c" width="32" height="32"></ov>' >"$work/hostile.ovml"
expect_status 0 "$orvane" info "$work/hostile.ovml"
expect_in "$work/out" 'name:   a\x1b]0;owned\x07b\x9bc'
LC_ALL=C grep -q $'[\x01-\x09\x0b-\x1f\x7f]\|\xc2[\x80-\x9f]' "$work/out" &&
  fail "info printed control characters: $(od -c "$work/out")"
expect_status 0 "$orvane" info --json "$work/hostile.ovml"
expect_in "$work/out" '"name": "a\u001b]0;owned\u0007b\u009bc"'

# File names in reports are escaped the same way.
mkdir -p "$work/emblems" "$work/pictures"
printf 'damaged' >"$work/emblems/"$'\e[31mred'".ovr"
expect_status 1 "$orvane" batch "$work/emblems" "$work/pictures"
expect_in "$work/err" '\x1b[31mred.ovr: '
LC_ALL=C grep -q $'\e' "$work/err" && fail "a file name's escape reached the terminal"

finish
