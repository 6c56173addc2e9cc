#!/usr/bin/env bash
# The Windows program end to end: the real quarvelingdrome.exe under Wine on a private Xvfb
# display, driven with xdotool and checked by pixel rules on screenshots of its window.
#
# Usage: windows_e2e.sh GAME_EXE SHOT_CHECK RESOURCE_SCRIPT CROSSCHECK_DIR OUTPUT_DIR
#   SHOT_CHECK      the native pixel-rule tool (tests/e2e/shot_check.cpp)
#   CROSSCHECK_DIR  the canvas cross-check's frames: the GDI frame of a fresh game is the
#                   reference for the score label, drawn by the same Wine
#   OUTPUT_DIR      made afresh: Wine prefix, logs and screenshots (kept as artifacts)
#
# What it shows: the game window opens and the host window "Marrowquill" stays hidden; the earliest
# frame caught shows the sky exactly as the background picture wrapped at some scroll offset, the
# level flyer at the top-left and the score label of a fresh game; the first enemy flies on row 20;
# holding Right and Down moves the flyer; a space key-down puts a bullet in a later frame at the
# flyer's nose height; Alt+F4 ends the process with exit code 0 within 5 s; and the host window is
# mapped only after the game window has gone.
set -euo pipefail

game=$(realpath "$1")
check=$(realpath "$2")
script=$(realpath "$3")
frames=$(realpath "$4")
out=$5

readonly kCloseLimitSeconds=5
readonly kFlyerWidth=118 kNoseY=20 kBulletDrawAbove=10

rm -rf "$out"
mkdir -p "$out/shots"
out=$(realpath "$out")

export WINEPREFIX="$out/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winealsa.drv,winepulse.drv=d"

xvfb_pid="" xev_pid="" game_pid=""
cleanup() {
  set +e
  keep_shots
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  timeout 20 wineserver -k >/dev/null 2>&1
  timeout 20 wineserver -w >/dev/null 2>&1
  [ -n "$xev_pid" ] && kill "$xev_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# The screenshots, kept as PNG pictures beside the log.
keep_shots() {
  for dump in "$out"/shots/*.xwd; do
    [ -e "$dump" ] && convert "xwd:$dump" "${dump%.xwd}.png" && rm -f "$dump"
  done
}
note() { echo "  $*"; }
now_ms() { date +%s%3N; }

# ---- A private display: Xvfb picks a free number and writes it to fd 3 ----------------------------
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ardelay 5000 -arinterval 5000 \
  3>"$out/display" >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$out/display" ] && break
  sleep 0.1
done
[ -s "$out/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$out/display")"
echo "display $DISPLAY, Wine prefix $WINEPREFIX"

# ---- A fresh Wine prefix; its background processes write to a log, never to our caller -----------
timeout -k 5 120 wineboot -i </dev/null >"$out/wineboot.log" 2>&1 || fail "wineboot failed"
timeout 20 wineserver -p 60 </dev/null >>"$out/wineboot.log" 2>&1 || true  # may run already
timeout -k 5 60 wine cmd /c exit </dev/null >>"$out/wineboot.log" 2>&1

# Every map, unmap and destruction of a top-level window, in the X server's own order.
xev -root -event substructure >"$out/xev.log" 2>&1 &
xev_pid=$!
sleep 0.3

# ---- Start ------------------------------------------------------------------------------------------
started=$(now_ms)
timeout -k 5 120 wine "$game" </dev/null >"$out/game.log" 2>&1 &
game_pid=$!

game_window=$(timeout 30 xdotool search --sync --onlyvisible --name '^quarvelingdrome$' | head -n1) ||
  fail "the game window did not appear"
shot_number=0
last_shot=""
take_shot() {  # a screenshot of the game window's client area, its file in $last_shot
  shot_number=$((shot_number + 1))
  last_shot=$(printf '%s/shots/%02d-%s.xwd' "$out" "$shot_number" "$1")
  xwd -id "$game_window" -silent >"$last_shot" || fail "no screenshot"
}
take_shot first
first_ms=$(($(now_ms) - started))
echo "game window $game_window; earliest frame caught ${first_ms} ms after launch"

host_window=$(xdotool search --name '^Marrowquill$' | head -n1 || true)
[ -n "$host_window" ] || fail "no host window exists"
[ -z "$(xdotool search --onlyvisible --name '^Marrowquill$' || true)" ] ||
  fail "the host window is visible while the game runs"
note "host window $host_window exists, hidden"

# The sky: no enemy ever flies on rows 300 to 499, and the flyer is at the top.
read -r offset matching total < <("$check" background "$script" "$last_shot" 300 499)
[ "$matching" -eq "$total" ] || fail "the sky differs from the background picture ($matching of $total)"
[ "$offset" -le 0 ] && [ $((-offset * 50)) -le $((first_ms + 100)) ] ||
  fail "scroll offset $offset is more than the 50 ms ticks since launch allow"
note "sky: the background picture at scroll offset $offset, all $total pixels of rows 300-499"

"$check" find "$script" "$last_shot" 105 | grep -x '105 0 0' >/dev/null || fail "no level flyer at (0, 0)"
note "flyer: the level-flight picture at (0, 0)"

read -r left top right bottom <"$frames/start.gdi.labels"
read -r differing total < <("$check" region "$last_shot" "$frames/start.gdi.frame" \
  "$left" "$top" "$right" "$bottom")
[ "$differing" -eq 0 ] || fail "the score label differs from a fresh game's ($differing of $total)"
note "score label: the same $total pixels as a fresh game's frame (score 0)"

# ---- The first enemy flies on row 20 ----------------------------------------------------------
enemies=""
for _ in $(seq 40); do
  take_shot enemies
  enemies=$("$check" find "$script" "$last_shot" 107)
  [ -n "$enemies" ] && break
  sleep 0.1
done
[ -n "$enemies" ] || fail "no enemy appeared"
first_enemy=$(sort -k2,2n <<<"$enemies" | head -n1)  # the one furthest across
read -r _ enemy_x enemy_y <<<"$first_enemy"
[ "$enemy_y" -eq 20 ] || fail "the enemy furthest across is on row $enemy_y: $enemies"
note "first enemy on row 20 at x $enemy_x ($(wc -l <<<"$enemies") enemy picture(s) seen)"
[ -z "$(xdotool search --onlyvisible --name '^Marrowquill$' || true)" ] ||
  fail "the host window is visible while the game runs"

# ---- Right and Down move the flyer -------------------------------------------------------------
# With no window manager keys go where the pointer is. Right with Down moves both ways a tick; Down
# alone then takes the flyer on down, watched frame by frame, to rows 300 and below, where neither
# the flyer nor its bullets meet an enemy's row.
flyer_at() {  # "x y" of the one flyer picture in the last shot, or nothing
  "$check" find "$script" "$last_shot" 105 120 121 | awk 'NR == 1 { print $2, $3 }'
}
xdotool mousemove --window "$game_window" 400 300
xdotool keydown Right keydown Down
sleep 0.3
xdotool keyup Right
for _ in $(seq 100); do
  take_shot diving
  read -r _ flyer_y < <(flyer_at) || flyer_y=0
  [ "${flyer_y:-0}" -ge 300 ] && break
done
xdotool keyup Down
sleep 0.3  # the level-flight loop puts the level picture back within 200 ms
take_shot moved
flyer=$("$check" find "$script" "$last_shot" 105 120 121)
[ "$(wc -l <<<"$flyer")" -eq 1 ] || fail "not one flyer in the frame: $flyer"
read -r flyer_sprite flyer_x flyer_y <<<"$flyer"
[ "$flyer_x" -gt 0 ] && [ "$flyer_y" -ge 300 ] && [ $((flyer_x % 10)) -eq 0 ] &&
  [ $((flyer_y % 10)) -eq 0 ] || fail "the flyer stands at ($flyer_x, $flyer_y)"
[ "$flyer_sprite" -eq 105 ] || fail "the flyer shows picture $flyer_sprite after the keys went up"
note "flyer moved to ($flyer_x, $flyer_y) in 10-pixel steps, level again after the keys"

# ---- A space key-down fires ------------------------------------------------------------------
[ -z "$("$check" find "$script" "$last_shot" 106)" ] || fail "a bullet before any shot"
bullet_y=$((flyer_y + kNoseY - kBulletDrawAbove))
bullet=""
for attempt in 1 2 3; do
  xdotool key space
  for _ in $(seq 8); do
    take_shot "bullet$attempt"
    bullet=$("$check" find "$script" "$last_shot" 106 |
      awk -v x0=$((flyer_x + kFlyerWidth)) -v y="$bullet_y" \
        '$3 == y && $2 >= x0 && ($2 - x0) % 20 == 0' | head -n1)
    [ -n "$bullet" ] && break 2
  done
done
[ -n "$bullet" ] || fail "no bullet at row $bullet_y after three shots"
read -r _ bullet_x _ <<<"$bullet"
note "bullet at ($bullet_x, $bullet_y): the nose plus $(((bullet_x - flyer_x - kFlyerWidth) / 20)) steps of 20"

# ---- Alt+F4 closes; the process ends with code 0 ------------------------------------------------
xdotool mousemove --window "$game_window" 400 300
closing=$(now_ms)
xdotool key alt+F4
deadline=$((closing + kCloseLimitSeconds * 1000))
while kill -0 "$game_pid" 2>/dev/null && [ "$(now_ms)" -lt "$deadline" ]; do
  sleep 0.02
done
kill -0 "$game_pid" 2>/dev/null && fail "the process still runs ${kCloseLimitSeconds} s after Alt+F4"
close_ms=$(($(now_ms) - closing))
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "exit code $status"
note "Alt+F4: process ended with exit code 0, ${close_ms} ms after the key"

# ---- The host window was mapped only after the game window went -------------------------------
sleep 0.3
kill "$xev_pid" 2>/dev/null || true
wait "$xev_pid" 2>/dev/null || true
xev_pid=""
host_hex=$(printf '0x%x' "$host_window")
game_hex=$(printf '0x%x' "$game_window")
# One "EVENT WINDOW" line per map, unmap or destruction, in order.
awk '/^(MapNotify|UnmapNotify|DestroyNotify) event/ { kind = $1; getline; print kind, $4 }' \
  "$out/xev.log" | tr -d ',' >"$out/window-events.txt"
line_of() { grep -nx "$1 $2" "$out/window-events.txt" | head -n1 | cut -d: -f1; }
game_mapped=$(line_of MapNotify "$game_hex")
game_gone=$(line_of UnmapNotify "$game_hex")
host_mapped=$(line_of MapNotify "$host_hex")
[ -n "$game_mapped" ] && [ -n "$game_gone" ] || fail "the game window's map and unmap were not seen"
[ -n "$host_mapped" ] || fail "the host window was never mapped"
[ "$host_mapped" -gt "$game_gone" ] || fail "the host window was mapped before the game window went"
[ "$(grep -c "^MapNotify $host_hex\$" "$out/window-events.txt")" -eq 1 ] ||
  fail "the host window was mapped more than once"
note "X server order: game mapped (#$game_mapped), game unmapped (#$game_gone), host mapped (#$host_mapped)"

echo "Windows end to end: passed"
