# orvane randomart: evolves layers towards a picture headless, writes them as an emblem (new or
# on top of another), resumes from and saves DNA files, and reports progress on stderr.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"
picture="$root/bench/randomart_target.png"

expect_status 2 "$orvane" randomart "$picture"
expect_status 2 "$orvane" randomart "$picture" "$work/a.ovml" --iterations 5 --seconds 1
expect_status 2 "$orvane" randomart "$picture" "$work/a.ovml" --set noSuchParameter=3
expect_status 2 "$orvane" randomart "$picture" "$work/a.ovml" --set layerCountMax=900
expect_status 1 "$orvane" randomart "$work/missing.png" "$work/a.ovml" --iterations 5
expect_in "$work/err" "missing.png"
expect_status 1 "$orvane" randomart "$picture" "$work/a.txt" --iterations 5

# One seed, one result; progress on stderr.
expect_status 0 "$orvane" randomart "$picture" "$work/a.ovml" --seed 7 --iterations 300 \
  --set layerCountMax=40 --dna-out "$work/a.dna"
expect_in "$work/err" "simulations"
expect_in "$work/err" "iterations/s"
expect_in "$work/a.ovml" "ランダムアート"
expect_status 0 "$orvane" randomart "$picture" "$work/b.ovml" --seed 7 --iterations 300 \
  --set layerCountMax=40
cmp -s "$work/a.ovml" "$work/b.ovml" || fail "the same seed gave different emblems"
[[ -s "$work/a.dna" ]] || fail "no DNA file written"
[[ $(head -c 4 "$work/a.dna") == INFO ]] || fail "the DNA file does not start with INFO"

# Resuming from the DNA file keeps its genome (and its parameters) and adds on top of --into.
expect_status 0 "$orvane" info "$work/a.ovml" --json
layers_before=$(grep -o '"kind": *"layer"' "$work/out" | wc -l)
[[ $layers_before -gt 1 ]] || fail "the emblem holds no random-art layers"
expect_status 0 "$orvane" randomart "$picture" "$work/c.ovml" --seed 8 --iterations 0 \
  --dna-in "$work/a.dna" --into "$work/a.ovml"
expect_status 0 "$orvane" info "$work/c.ovml" --json
layers_after=$(grep -o '"kind": *"layer"' "$work/out" | wc -l)
[[ $layers_after -eq $((2 * layers_before)) ]] ||
  fail "resuming with no iterations should repeat the saved genome ($layers_before, $layers_after)"

expect_status 0 "$orvane" randomart "$picture" "$work/d.ovr" --seconds 0.2
expect_in "$work/err" "elapsed 0s"
# The progress speaks English only: every byte on stderr is ASCII.
LC_ALL=C grep -q '[^ -~]' "$work/err" && fail "progress is not plain English: $(cat "$work/err")"

# Seeds are whole 64-bit numbers, kept to the last digit (a double would make the two seeds
# just above 2^53 one and the same).
expect_status 0 "$orvane" randomart "$picture" "$work/e.ovml" --seed 18446744073709551615 \
  --iterations 50
expect_in "$work/err" "seed 18446744073709551615"
expect_status 0 "$orvane" randomart "$picture" "$work/f.ovml" --seed 9007199254740992 \
  --iterations 300 --set layerCountMax=40
expect_status 0 "$orvane" randomart "$picture" "$work/g.ovml" --seed 9007199254740993 \
  --iterations 300 --set layerCountMax=40
cmp -s "$work/f.ovml" "$work/g.ovml" && fail "seeds 2^53 and 2^53 + 1 gave the same emblem"
expect_status 2 "$orvane" randomart "$picture" "$work/h.ovml" --seed 18446744073709551616
expect_status 2 "$orvane" randomart "$picture" "$work/h.ovml" --seed -1
# Without --seed the seed taken from the clock is shown, so the run can be repeated.
expect_status 0 "$orvane" randomart "$picture" "$work/i.ovml" --iterations 0
grep -qE '^seed [0-9]+$' "$work/err" || fail "no seed shown: $(cat "$work/err")"
finish
