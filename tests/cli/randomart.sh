# orvane randomart: evolves layers towards a picture headless, or fits them one at a time
# (--mode fit), writes them as an emblem (new or on top of another), resumes from and saves DNA
# files, and reports progress on stderr.
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

# --mode chooses the engine; each mode refuses the other's options and impossible budgets, and
# a refused command writes nothing.
refused() {  # refused TEXT ARGUMENTS...: a usage error whose message holds TEXT
  local text=$1
  shift
  expect_status 2 "$orvane" randomart "$picture" "$work/refused.ovml" "$@"
  expect_in "$work/err" "$text"
}
refused "--mode needs evolve or fit" --mode paint
refused "--mode needs evolve or fit" --mode FIT
refused "--layers does not apply to --mode evolve" --layers 20
refused "--layers does not apply to --mode evolve" --mode evolve --layers 20
refused "--set does not apply to --mode fit" --mode fit --set layerCountMax=40
refused "--dna-in does not apply to --mode fit" --mode fit --dna-in "$work/a.dna"
refused "--iterations does not apply to --mode fit" --mode fit --iterations 10
for layers in 0 512 -3 20x 1e2 ""; do
  refused "--layers needs" --mode fit --layers "$layers"
done
refused "--seconds needs" --mode fit --seconds 0
refused "--seconds needs" --mode fit --seconds -1
[[ -e $work/refused.ovml ]] && fail "a refused command wrote an emblem"

# A fit: the layers asked for (fewer only when the time ran out first), the backdrop in the
# picture's colours at the back (no white layer behind it), its closing figures on stderr.
expect_status 0 "$orvane" randomart "$picture" "$work/fit.ovml" --mode fit --seconds 1 \
  --layers 20 --seed 3 --dna-out "$work/fit.dna"
expect_in "$work/err" "seed 3"
fitted=$(grep -o 'done  layers [0-9]*' "$work/err" | grep -o '[0-9]*$')
[[ -n $fitted ]] || fail "no closing line: $(cat "$work/err")"
fitted=${fitted:-0}
((fitted >= 2 && fitted <= 20)) || fail "a fit of 20 layers made $fitted"
grep -q "stopped early" "$work/err" || ((fitted == 20)) ||
  fail "a fit that was not cut short made $fitted layers, not 20"
expect_status 0 "$orvane" info --json "$work/fit.ovml"
expect_in "$work/out" "\"layerCount\": $fitted,"
expect_in "$work/out" "ランダムアート"
backdrop_colour=$(grep -o '"color": [0-9]*' "$work/out" | tail -1)
[[ $backdrop_colour == '"color": 4294967295' ]] && fail "the fitted layers lie on a white layer"
grep -o '"partId": [0-9]*' "$work/out" | tail -1 | grep -qx '"partId": 242' ||
  fail "the fit's backmost layer is not the backdrop square"
LC_ALL=C grep -q '[^ -~]' "$work/err" && fail "fit progress is not plain English: $(cat "$work/err")"

# The fit lands on top of --into's emblem as one more group, also in a binary file, and its DNA
# file lets the evolution take over (behind it the evolution's white ground).
expect_status 0 "$orvane" randomart "$picture" "$work/fit2.ovr" --mode fit --seconds 0.3 \
  --layers 1 --into "$work/fit.ovml"
expect_status 0 "$orvane" info "$work/fit2.ovr"
expect_in "$work/out" "layers: $((fitted + 1))"
expect_status 0 "$orvane" randomart "$picture" "$work/evolved.ovml" --mode evolve \
  --iterations 0 --dna-in "$work/fit.dna"
expect_status 0 "$orvane" info "$work/evolved.ovml"
expect_in "$work/out" "layers: $((fitted + 1))"

# The fit is far closer to the picture than the evolution given the same short time (both as
# slow as the build and the machine make them, so the comparison holds under the sanitizers).
last_fit() { grep -o 'fit [0-9.]*%' "$work/err" | tail -n 1 | grep -o '[0-9.]*'; }
expect_status 0 "$orvane" randomart "$picture" "$work/quick.ovml" --mode fit --seconds 1 --seed 1
fitted_share=$(last_fit)
expect_status 0 "$orvane" randomart "$picture" "$work/slow.ovml" --seconds 1 --seed 1
evolved_share=$(last_fit)
[[ -n $fitted_share && -n $evolved_share ]] || fail "no closing fit: $(cat "$work/err")"
awk -v f="$fitted_share" -v e="$evolved_share" 'BEGIN { exit !(100 - f < 0.5 * (100 - e)) }' ||
  fail "a 1 s fit reached $fitted_share%, the evolution $evolved_share%"

finish
