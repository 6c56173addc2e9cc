#!/usr/bin/env bash
# The Linux program built with ThreadSanitizer, played on real time in a real X window until the
# boss rages and wanders: the timed-event threads run beside the frames, as they do for a player,
# and any data race between them is reported. Fails on any ThreadSanitizer report.
#
#   tsan_soak_e2e.sh GAME SHOT_PROBE X11_CLOSE ARTIFACT_DIR
#
# The path, each step waiting for what the game shows: from the top-left corner, where the flyer's
# bullets fly along the row-20 enemy's row, the space bar held (auto-repeat) for a stream of hits
# and respawns; then one bullet at a time, reading the score after each, so the score passes through
# exactly 300 and the boss comes; then Down and the space bar held against the boss (its hit and
# restore events) until it has raged, calmed and wandered away from where it slid in. About a
# minute. Any report, and the game's stderr, stay in ARTIFACT_DIR. Exits 77 (skipped) without Xvfb.
set -uo pipefail

game=$1 probe=$2 closer=$3 out=$4
rm -rf "$out" && mkdir -p "$out"
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"
need_tools xdotool xwd convert

# Every report goes to a file of its own; the first one ends the game (exit code 66).
export TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}halt_on_error=1:exitcode=66:log_path=$out/tsan-report"
reports() { ls "$out"/tsan-report* 2>/dev/null; }

start_display
SDL_AUDIODRIVER=dummy "$game" 2>"$out/game.log" &
note_game $! "$out/game.log"

flyer="105,120,121"   # level, climbing, diving
boss="111,112,113"    # calm, struck, enraged
# alive: the game still runs (a report ends it); otherwise the steps below stop waiting.
alive() { kill -0 "$window_pid" 2>/dev/null; }
# step DESCRIPTION TEST...: shot "step" until TEST holds (while the game runs, for at most
# kWaitSeconds), as one check.
step() {
  local what=$1 held=1 deadline=$((SECONDS + kWaitSeconds))
  shift
  while alive && [ "$SECONDS" -lt "$deadline" ]; do
    if shot step && "$@"; then
      held=0
      break
    fi
    sleep 0.1
  done
  check "$what" test "$held" -eq 0
}
flyer_y() { find_in step "$flyer" | awk 'NR == 1 {print $2}'; }
boss_at() { find_in step "$boss" | head -n 1; }

# 1. The flyer stands at the top-left corner, where its bullets fly along the row-20 enemy's row.
# The space bar held: bullets stream into that enemy, each hit a respawn event. (Well short of 300:
# the stream scores faster than the screenshots read, and may score twice in a frame.)
step "the game shows its first frames" eval '[ -n "$(find_in step "$flyer")" ]'
xdotool keydown space
step "held space: a stream of hits takes the score to 50 or more" \
  eval '[ "$(score_in step)" -ge 50 ] 2>/dev/null'
xdotool keyup space

# 2. One bullet at a time (two hits in one frame could step over 300, and then no boss comes).
# About thirty hits, each a bullet's flight: the longest stretch of the run, so a longer limit.
score=0
deadline=$((SECONDS + 3 * kWaitSeconds))
while alive && [ "$SECONDS" -lt "$deadline" ]; do
  shot step || continue
  score=$(score_in step)
  [ "${score:-0}" -ge 300 ] && break
  "$probe" find "$out/step.xwd" 106 >/dev/null || xdotool key space
  sleep 0.2
done
check "single bullets take the score through 300 (it reads ${score:-nothing})" \
  test "${score:-0}" -ge 300

# 3. The boss: it slides in; the flyer dives towards its row and fires a stream at it.
step "the boss comes on stage" eval '[ -n "$(boss_at)" ]'
xdotool keydown Down keydown space
step "held Down takes the flyer down towards the boss's row" eval '[ "$(flyer_y)" -ge 160 ] 2>/dev/null'
xdotool keyup Down
step "the boss rages (the rage cycle's thread)" eval '[ -n "$(find_in step 113)" ]'
step "the rage ends: the boss is calm again" eval '[ -n "$(find_in step 111,112)" ]'
step "the boss wanders away from where it slid in (the wander thread)" \
  eval 'b=$(boss_at); [ -n "$b" ] && [ "$b" != "550 200" ]'
xdotool keyup space

if alive; then
  "$closer" "$window"
  wait_exit "$game_pid"
  code=$?
  check "closing the window ends the game with exit code 0 (got $code)" test "$code" -eq 0
fi
if [ -n "$(reports)" ]; then
  fail "ThreadSanitizer reported:"
  cat "$out"/tsan-report*
else
  pass "no ThreadSanitizer report"
fi
finish
