# Waiting on what a program shows, for the end-to-end scripts (sourced by them).
# within SECONDS COMMAND...: runs the command again and again until it succeeds; fails once SECONDS
# have passed without. The limit is generous, for a hang: a busy machine is slow, not wrong.
within() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
