# Signals: SIGTERM while a picture is being saved leaves neither the picture nor its temporary
# file, and the first Ctrl+C stops a long command promptly with status 130, writing nothing.
orvane=$1
root=$2
source "$(dirname "$0")/cli_test_lib.bash"
shopt -s nullglob

# Background jobs of a script ignore SIGINT unless told otherwise.
start() { env --default-signal=INT,TERM,HUP "$@" >"$work/out" 2>"$work/err" & }

# SIGTERM: the save is frozen the moment its temporary file appears, then told to end.
mkdir -p "$work/term"
start "$orvane" render --scale 60 "$root/examples/small.ovml" "$work/term/big.bmp"
pid=$!
caught=0
while kill -0 "$pid" 2>/dev/null; do
  set -- "$work/term"/.*tmp*
  if (($#)); then
    kill -STOP "$pid"
    caught=1
    break
  fi
done
((caught)) || fail "the save ended before its temporary file was seen"
kill -TERM "$pid"
kill -CONT "$pid"
wait "$pid"
status=$?
[[ $status -eq 143 ]] || fail "SIGTERM ended the render with status $status, expected 143"
left=$(ls -A "$work/term")
[[ -z $left ]] || fail "SIGTERM left files behind: $left"

# Ctrl+C: random art meant to run for a minute stops within the grace period and writes nothing.
start "$orvane" randomart "$root/examples/banner.png" "$work/evolved.ovml" --seconds 60
pid=$!
sleep 0.5
began=$SECONDS
kill -INT "$pid"
wait "$pid"
status=$?
[[ $status -eq 130 ]] || fail "Ctrl+C ended random art with status $status, expected 130"
((SECONDS - began <= 3)) || fail "random art took $((SECONDS - began)) s to stop"
expect_in "$work/err" "interrupted"
[[ -e $work/evolved.ovml ]] && fail "an interrupted random art wrote its emblem"

# The same for the shape fitting, which looks at Ctrl+C between layers.
start "$orvane" randomart "$root/examples/banner.png" "$work/fitted.ovml" --mode fit --seconds 60
pid=$!
sleep 0.5
began=$SECONDS
kill -INT "$pid"
wait "$pid"
status=$?
[[ $status -eq 130 ]] || fail "Ctrl+C ended the fitting with status $status, expected 130"
((SECONDS - began <= 3)) || fail "the fitting took $((SECONDS - began)) s to stop"
expect_in "$work/err" "interrupted"
[[ -e $work/fitted.ovml ]] && fail "an interrupted fitting wrote its emblem"

finish
