# The command line's contract: help and version on stdout with 0, usage errors with 2, failures
# naming the file with 1, and never a partial file over a good one.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"

expect_status 0 "$orvane" --help
expect_in "$work/out" "Usage: orvane"
expect_status 0 "$orvane" --version
expect_in "$work/out" "orvane "

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
