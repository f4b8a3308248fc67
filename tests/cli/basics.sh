# The command line's contract: help and version on stdout with 0, usage errors with 2, failures
# naming the file with 1, and never a partial file over a good one.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"

expect_status 0 "$orvane" --help
expect_in "$work/out" "Usage: orvane"
expect_status 0 "$orvane" --version
expect_in "$work/out" "orvane "

# Each command's --help shows that command's usage, wherever the option stands, and does nothing.
for command in info convert render blockart batch randomart; do
  expect_status 0 "$orvane" "$command" --help
  expect_in "$work/out" "Usage: orvane $command "
  [[ $(grep -c '^Usage:' "$work/out") -eq 1 ]] || fail "$command --help shows more than its own usage"
done
expect_status 0 "$orvane" render "$root/examples/crest.ovml" "$work/help.png" -h
[[ -e $work/help.png ]] && fail "render -h drew a picture"
# After "--" it is a file name like any other.
expect_status 1 "$orvane" info -- --help

expect_status 2 "$orvane"
expect_status 2 "$orvane" frobnicate
expect_in "$work/err" "unknown command"
expect_status 2 "$orvane" info
expect_status 2 "$orvane" info "$root/examples/crest.ovml" --bogus
expect_status 2 "$orvane" convert "$root/examples/crest.ovml"

expect_status 1 "$orvane" info "$work/missing.ovml"
expect_in "$work/err" "missing.ovml"
printf 'not xml at all <' >"$work/broken.ovml"
expect_status 1 "$orvane" info "$work/broken.ovml"
expect_in "$work/err" "broken.ovml:"
expect_status 1 "$orvane" info "$root/README.md"

# A failed conversion leaves the existing output as it was.
printf 'precious' >"$work/keep.ovml"
expect_status 1 "$orvane" convert "$work/broken.ovml" "$work/keep.ovml"
[[ $(cat "$work/keep.ovml") == precious ]] || fail "a failed convert changed the output"
expect_status 1 "$orvane" convert "$root/examples/crest.ovml" "$work/no/such/folder/out.ovml"
expect_in "$work/err" "out.ovml"

finish
