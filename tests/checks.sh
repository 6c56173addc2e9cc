# The tally of checks that the test scripts keep: one "ok" or "FAIL" line a check, and a count of
# the failures for the script's verdict. Sourced.

failures=0
pass() { echo "ok   - $*"; }
fail() { echo "FAIL - $*"; failures=$((failures + 1)); }
# check DESCRIPTION COMMAND...: passes when the command succeeds.
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
