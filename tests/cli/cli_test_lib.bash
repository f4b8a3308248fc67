# Shared helpers of the command-line tests: each test script sources this file.
# Usage in a script: orvane=$1; root=$2; source "$(dirname "$0")/cli_test_lib.bash"
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect_status STATUS COMMAND...: runs the command, keeping its output in $work/out and $work/err.
expect_status() {
  local expected=$1
  shift
  "$@" >"$work/out" 2>"$work/err"
  local status=$?
  if [[ $status -ne $expected ]]; then
    fail "'$*' exited $status, expected $expected; stderr: $(cat "$work/err")"
  fi
}

expect_in() {  # expect_in FILE TEXT
  grep -qF -- "$2" "$1" || fail "$(basename "$1") lacks '$2': $(cat "$1")"
}

finish() {
  if [[ $failures -ne 0 ]]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}
