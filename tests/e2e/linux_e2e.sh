#!/usr/bin/env bash
# The Linux program end to end, in a real X window on Xvfb: what a player sees, hears and does.
#
#   linux_e2e.sh GAME SHOT_PROBE X11_CLOSE ARTIFACT_DIR
#
# Keys go in with xdotool, pictures come out with xwd (kept as PNG) and are judged by shot_probe
# against the game's own pictures; the sound comes out of SDL's disk audio driver.
# Screenshots, the audio output and the game's stderr stay in ARTIFACT_DIR. Exits 77 (skipped)
# when Xvfb is not installed; scripts/test installs it.
#
# Every wait follows what the game shows or does (see x11_session.sh).
set -uo pipefail

game=$1 probe=$2 closer=$3 out=$4
rm -rf "$out" && mkdir -p "$out"

# shellcheck source=x11_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/x11_session.sh"
need_tools xdotool xwd convert

# ---- Displays and the game ----------------------------------------------------------------------

# start_game LOG [ENV=VALUE...]: the game, ended with the session if it is still running at the
# end; sets game_pid and window. A script's background job would ignore SIGINT; the game gets it as
# from a terminal.
start_game() {
  local log=$1
  shift
  env --default-signal=INT "$@" "$game" 2>"$out/$log" &
  note_game $! "$out/$log"
}

# at_least PERCENT "M of N": whether M is at least PERCENT% of N.
at_least() {
  local percent=$1 matching total
  read -r matching _ total <<<"$2"
  [ -n "$matching" ] && [ "$total" -gt 0 ] && [ $((matching * 100)) -ge $((total * percent)) ]
}

sky="42 46 115"
# A patch of the top rows clear of the flyer (0..117 x 0..24), the score label (rows 10..25) and
# the enemies (x from 515 on, rows 20..66): sky colour apart from the odd star.
sky_patch="130 30 290 62"

# ---- One game: first frame, enemy, bullet, hit and its sound, flyer control, resize, close -----

start_display 24
audio="$out/audio.raw"
start_game game.log SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio"
# The enemy on row 20 shows from 0.8 s.
row20_enemy() { find_in "$1" 107 | awk '$2 == 20 {print $1; exit}'; }
shot_until first eval '[ -n "$(row20_enemy first)" ]'
enemy_x=$(row20_enemy first)
# The next shots show it further left, before it can have flown off the scene.
shot_until later eval '[ "$(row20_enemy later)" -lt "${enemy_x:-0}" ] 2>/dev/null'
# shellcheck disable=SC2086
check "the top rows of the first frame are the sky colour RGB($sky)" \
  at_least 90 "$("$probe" count "$out/first.xwd" $sky $sky_patch)"
check "the flyer stands level at the top-left corner (0, 0)" \
  test "$(find_in first 105)" = "0 0"
check "the score label reads 0" test "$("$probe" score "$out/first.xwd")" = "0"
check "an enemy flies on row 20 (x = ${enemy_x:-none})" test -n "$enemy_x"
later_x=$(row20_enemy later)
check "the row-20 enemy moves left (x ${enemy_x:-none} -> ${later_x:-none})" \
  test -n "$enemy_x" -a -n "$later_x" -a "${later_x:-0}" -lt "${enemy_x:-0}"
check "nothing exploded yet: no explosion in the audio output" \
  test "$("$probe" hears "$audio" 114)" = "0"

# From (0, 0) the bullets fly along row 20: their tips (y 25) meet the enemy there, unless it has
# just passed the flyer; tapping on until the score moves catches it on its way back.
fire_until_hit() {
  xdotool key space
  shot hit && [ "$("$probe" score "$out/hit.xwd")" -ge 10 ] 2>/dev/null
}
within "$kWaitSeconds" fire_until_hit
score=$("$probe" score "$out/hit.xwd")
check "the bullets shot the row-20 enemy down: the score reads ${score:-nothing}" \
  test "${score:-0}" -ge 10
check "the explosion cue is in the audio output" \
  within "$kWaitSeconds" eval '"$probe" hears "$audio" 114 >/dev/null'

# Down, then a little Right as well: the flyer leaves the top corner. The keys are held for a
# fixed short time (so the flyer cannot go far however slowly the shots come) and pressed again
# until the flyer is seen off both axes.
flyer_level() { [ -n "$(find_in "$1" 105)" ]; }  # level flight is back within 200 ms
moved_x=0 moved_y=0 moved=""
deadline=$((SECONDS + kWaitSeconds))
while [ "$moved_x" -eq 0 -o "$moved_y" -eq 0 ] && [ "$SECONDS" -lt "$deadline" ]; do
  xdotool keydown Down
  sleep 0.2
  xdotool keydown Right
  sleep 0.15
  xdotool keyup Right keyup Down
  shot_until moved flyer_level moved
  moved=$(find_in moved 105 | head -n 1)
  read -r moved_x moved_y <<<"${moved:-0 0}"
done
check "held Down and Right moved the flyer down and right, in 10 px steps (to ${moved:-nowhere})" \
  test "$moved_x" -gt 0 -a "$moved_y" -gt 0 -a $((moved_x % 10)) -eq 0 -a $((moved_y % 10)) -eq 0

# Further down, between the enemy rows 250 and 500 (y 300 to 470), where a bullet flies free: in
# short presses of Down, so it cannot overshoot however slowly the shots come.
deadline=$((SECONDS + kWaitSeconds))
while [ "$moved_y" -lt 300 ] && [ "$SECONDS" -lt "$deadline" ]; do
  xdotool keydown Down
  sleep 0.2
  xdotool keyup Down
  shot_until moved flyer_level moved
  moved=$(find_in moved 105 | head -n 1)
  read -r moved_x moved_y <<<"${moved:-0 0}"
done

# A bullet is on screen for a few dozen frames; a slow screenshot may miss one, so fire again.
want_y=$((moved_y + 10))
bullet_in_shot() { find_in bullet 106 | awk -v y="$want_y" '$2 == y {print $1; exit}'; }
fire_and_see() {
  xdotool key space
  shot bullet && [ -n "$(bullet_in_shot)" ]
}
within "$kWaitSeconds" fire_and_see
bullet_x=$(bullet_in_shot)
check "a bullet glows right of the flyer's nose, 10 px below its top (x = ${bullet_x:-none})" \
  test -n "$bullet_x" -a "${bullet_x:-0}" -ge $((moved_x + 118))

# Holding the space bar fires at the keyboard's repeat rate: a stream of bullets on the row.
stream_on_row() { find_in stream 106 | awk -v y="$want_y" '$2 == y' | wc -l; }
xdotool keydown space
shot_until stream eval '[ "$(stream_on_row)" -ge 3 ]'
xdotool keyup space
stream=$(stream_on_row)
check "holding the space bar fires on every auto-repeat: $stream bullets in flight" \
  test "$stream" -ge 3

# Alt+Space (the window menu's key on Windows), other keys and the key-ups fire nothing: once the
# stream has flown off, none of them brings a bullet back. The sky's scroll offset counts the
# frames (one a 50 ms tick). A bullet the keys fired would fly for some 30 frames from the nose, so
# shots no more than 25 frames apart, from before the keys to 35 frames after them, would show
# it. The shots come in quick bursts and are judged afterwards (judging is the slow part); a run
# of shots with a wider gap proves nothing, and the keys are tried again.
no_bullets() { [ -z "$(find_in "$1" 106)" ]; }
sky_offset() { "$probe" background "$out/$1.xwd" 580 599 | awk '{print $1}'; }
frames_since_before() { echo $(((before - $(sky_offset "$1") + 1600) % 800)); }
keys_fire_nothing() {  # 0: no bullet came; 1: a bullet came; 2: the shots were too far apart
  shot_until clear no_bullets clear || return 2
  shot quiet0  # the last before the keys
  xdotool key alt+space a Return
  local count=0 frames=0 last=0 i deadline=$((SECONDS + kWaitSeconds))
  before=$(sky_offset quiet0)
  while [ "$frames" -lt 35 ] && [ "$SECONDS" -lt "$deadline" ]; do
    for _ in 1 2 3 4 5; do
      count=$((count + 1))
      shot "quiet$count" || return 2
    done
    frames=$(frames_since_before "quiet$count")
  done
  for i in $(seq 0 "$count"); do
    no_bullets "quiet$i" || return 1
    frames=$(frames_since_before "quiet$i")
    [ $((frames - last)) -le 25 ] || return 2
    last=$frames
  done
  quiet_frames="$last frames ($count shots)"
  [ "$last" -ge 35 ] || return 2
}
deadline=$((SECONDS + kWaitSeconds))
quiet=2 quiet_frames="no span of"
while [ "$quiet" -eq 2 ] && [ "$SECONDS" -lt "$deadline" ]; do
  keys_fire_nothing
  quiet=$?
done
check "Alt+Space, other keys and the key-ups fire nothing: no bullet in $quiet_frames" \
  test "$quiet" -eq 0

# No window manager here: move the window into the screen's corner so all of it can be captured.
xdotool windowmove "$window" 0 0
xdotool windowsize "$window" 1000 700
resized_black() {
  [ "$("$probe" size "$out/resized.xwd")" = "1000 700" ] &&
    at_least 100 "$("$probe" count "$out/resized.xwd" 0 0 0 800 0 1000 700)" &&
    at_least 100 "$("$probe" count "$out/resized.xwd" 0 0 0 0 600 800 700)"
}
shot_until resized resized_black
check "the window grew to 1000 x 700" test "$("$probe" size "$out/resized.xwd")" = "1000 700"
check "the area right of the scene is black" \
  at_least 100 "$("$probe" count "$out/resized.xwd" 0 0 0 800 0 1000 700)"
check "the area below the scene is black" \
  at_least 100 "$("$probe" count "$out/resized.xwd" 0 0 0 0 600 800 700)"
check "the scene stays at the client origin: the flyer is where it was (${moved:-nowhere})" \
  test "$(find_in resized 105,120,121)" = "$moved"

started=$(date +%s%N)
"$closer" "$window"
wait_exit "$game_pid"
code=$?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
check "closing the window ends the game with exit code 0 (got $code, after $elapsed_ms ms)" \
  test "$code" -eq 0

# ---- Signals ----------------------------------------------------------------------------------

# Here with the sound device SDL finds by itself, or none: either way the game says nothing.
for signal in TERM INT; do
  start_game "sig$signal.log" -u SDL_AUDIODRIVER
  pid=$(xdotool getwindowpid "$window")
  sleep 0.5
  kill "-$signal" "$pid"
  wait_exit "$game_pid"
  code=$?
  check "SIG$signal ends the game with exit code 0 (got $code)" test "$code" -eq 0
  check "and it wrote nothing to stderr, sound device or none" test ! -s "$out/sig$signal.log"
done

# ---- A 16-bit screen: the frame converted to the window's format ------------------------------

start_display 16
start_game depth16.log SDL_AUDIODRIVER=dummy
shot_until depth16 eval '[ -n "$(find_in depth16 105 12)" ]'
# 5 or 6 bits a channel, truncated on the way in and widened on the way out: allow 12 either way.
check "on a 16-bit screen the flyer shows at (0, 0)" test "$(find_in depth16 105 12)" = "0 0"
# shellcheck disable=SC2086
check "on a 16-bit screen the sky keeps its colour" \
  at_least 90 "$("$probe" count "$out/depth16.xwd" $sky $sky_patch 12)"
"$closer" "$window"
wait_exit "$game_pid"
check "closing it still gives exit code 0" test $? -eq 0

# ---- No display -------------------------------------------------------------------------------

env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
  timeout -k 2 "$kWaitSeconds" "$game" 2>"$out/nodisplay.log"
code=$?
check "without a display the game exits non-zero (got $code)" \
  test "$code" -ne 0 -a "$code" -ne 124 -a "$code" -ne 137
said=$(grep "cannot open a window" "$out/nodisplay.log")
check "and says why, in one line: ${said:-nothing}" \
  test "$(wc -l <"$out/nodisplay.log")" -eq 1 -a -n "$(grep "cannot open a window: .*DISPLAY" <<<"$said")"

finish
