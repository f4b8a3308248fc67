# Every number on the command line is read whole: trailing letters, commas, exponents where a
# whole number is wanted, "inf" and values out of range are usage errors naming the option, and
# render and batch refuse the same scales.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"

small=$root/examples/small.ovml
picture=$root/examples/banner.png
mkdir -p "$work/emblems" "$work/pictures"

refused() {  # refused OPTION COMMAND...: a usage error that names the option
  local option=$1
  shift
  expect_status 2 "$orvane" "$@"
  expect_in "$work/err" "$option needs"
}

for scale in 4q 1,5 inf nan -1 0 0x10 20000 "" " 2"; do
  refused --scale render --scale "$scale" "$small" "$work/x.png"
  refused --scale batch "$work/emblems" "$work/pictures" --no-blur --scale "$scale"
done
# With blur both stop at scale 32.
refused --scale render --blur --scale 33 "$small" "$work/x.png"
refused --scale batch "$work/emblems" "$work/pictures" --scale 33
expect_status 0 "$orvane" batch "$work/emblems" "$work/pictures" --scale 33 --no-blur
expect_status 0 "$orvane" render --scale 1e-1 "$small" "$work/tiny.png"
[[ -e $work/x.png ]] && fail "a refused render wrote a picture"

refused --jobs batch "$work/emblems" "$work/pictures" --jobs 2x
refused --part blockart "$picture" "$work/x.ovml" --part 5x
refused --size blockart "$picture" "$work/x.ovml" --size 4294967296x4294967296
refused --size blockart "$picture" "$work/x.ovml" --size 10x-1

for option in "--iterations 1e3" "--iterations 5abc" "--iterations -1" "--seed 5abc" \
  "--seconds 0.5xyz" "--seconds inf" "--seconds 1e300" "--seconds -1" "--set redMin=5x" \
  "--set redMin=99999999999"; do
  # shellcheck disable=SC2086  # the option and its value are two words
  refused "${option%% *}" randomart "$picture" "$work/x.ovml" $option
done
[[ -e $work/x.ovml ]] && fail "a refused command wrote an emblem"

finish
