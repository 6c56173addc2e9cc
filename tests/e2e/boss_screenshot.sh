#!/usr/bin/env bash
# Plays the real Linux program on Xvfb until the boss comes, and takes a screenshot of the fight:
# the picture in the README (docs/screenshot.png) is made this way.
#
#   boss_screenshot.sh GAME SHOT_PROBE X11_CLOSE OUT.png
#
# The flyer stays at the top-left corner, where its bullets fly along the row of the first enemy,
# and fires one bullet at a time, reading the score label after each, so the score passes through
# exactly 300 (two hits in one frame would step over it, and then no boss comes). Once the boss
# is summoned the flyer dives to the boss's row and fires at it; the shot is taken when the boss
# has slid in, before its first rage. Takes about a minute.
set -euo pipefail

game=$1 probe=$2 closer=$3 target=$4
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

number=$((200 + $$ % 500))
while [ -e "/tmp/.X${number}-lock" ]; do number=$((number + 1)); done
Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$number"
for _ in $(seq 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done

SDL_AUDIODRIVER=dummy timeout -k 5 600 "$game" &
pids+=($!)
window=$(timeout 15 xdotool search --sync --name '^quarvelingdrome$' | head -n 1)
xdotool windowmove "$window" 0 0 mousemove --window "$window" 400 300

shot() {
  import -window "$window" "$work/shot.png" && convert "$work/shot.png" -depth 8 "$work/shot.ppm"
}

score=0
while [ "$score" -lt 300 ]; do
  shot
  score=$("$probe" score "$work/shot.ppm" || echo 0)
  # One bullet in flight at a time: fire only when none is on screen.
  if ! "$probe" find "$work/shot.ppm" 106 >/dev/null; then
    xdotool key space
    echo "score $score: fire"
  fi
  sleep 0.3
done
if [ "$score" -ne 310 ]; then
  echo "the score stepped over 300 to $score: no boss this time" >&2
  exit 1
fi
echo "score 300 reached: the boss is coming"

# The boss arrives 0.2 s after the trigger, holds off-stage for about two seconds, then slides in
# to x = 550, y = 200 by about 3.7 s; its first rage comes at 5 s. Meanwhile the flyer dives to
# y 250, level with the boss's middle, and opens fire. The shot is taken 4.3 s after the script
# saw the score reach 300, which is a few hundred milliseconds after the trigger itself: near the
# start of the first rage, so it may show the calm boss or the enraged one with the enemies rushing.
trigger_ms=$(($(date +%s%N) / 1000000))
since_trigger() { echo $(($(date +%s%N) / 1000000 - trigger_ms)); }
xdotool keydown Down
sleep 0.75
xdotool keyup Down
while [ "$(since_trigger)" -lt 3000 ]; do sleep 0.05; done
while [ "$(since_trigger)" -lt 4300 ]; do
  xdotool key space
  sleep 0.1
done
shot
cp "$work/shot.png" "$target"
"$closer" "$window"
echo "wrote $target"
