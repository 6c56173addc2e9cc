#!/usr/bin/env bash
# The Windows program end to end: the real quarvelingdrome.exe under Wine on a private Xvfb
# display, driven with xdotool and checked by pixel rules on screenshots of its window.
#
# Usage: windows_e2e.sh GAME_EXE SHOT_PROBE CROSSCHECK_DIR OUTPUT_DIR
#   SHOT_PROBE      the native screenshot tool (tests/e2e/shot_probe.cpp), which holds the game's
#                   pictures as the same res/game.rc names them
#   CROSSCHECK_DIR  the canvas cross-check's frames: the GDI frame of a fresh game is the
#                   reference for the score label, drawn by the same Wine
#   OUTPUT_DIR      made afresh: Wine prefix, logs and screenshots (kept as artifacts)
#
# What it shows: the game window opens and the host window "Marrowquill" stays hidden; the earliest
# frame caught shows the sky exactly as the background picture wrapped at some scroll offset, the
# level flyer at the top-left and the score label of a fresh game; the first enemy flies on row 20;
# holding Right and Down moves the flyer; a space key-down puts a bullet in a later frame at the
# flyer's nose height; Alt+F4 ends the process with exit code 0; and the host window is mapped
# only after the game window has gone.
#
# Every wait follows what the program shows or does, polling for the state with a generous outer
# limit (kWaitSeconds) that only a hang reaches: Wine on a busy machine is slow, not wrong.
set -euo pipefail

game=$(realpath "$1")
probe=$(realpath "$2")
frames=$(realpath "$3")
out=$4

readonly kWaitSeconds=180
# shellcheck source=within.sh
source "$(dirname "${BASH_SOURCE[0]}")/within.sh"
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
within "$kWaitSeconds" test -s "$out/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$out/display")"
echo "display $DISPLAY, Wine prefix $WINEPREFIX"

# ---- A fresh Wine prefix; its background processes write to a log, never to our caller -----------
timeout -k 5 "$kWaitSeconds" wineboot -i </dev/null >"$out/wineboot.log" 2>&1 || fail "wineboot failed"
timeout 60 wineserver -p 60 </dev/null >>"$out/wineboot.log" 2>&1 || true  # may run already
timeout -k 5 "$kWaitSeconds" wine cmd /c exit </dev/null >>"$out/wineboot.log" 2>&1

# Every map, unmap and destruction of a top-level window, in the X server's own order. The root
# window's property changes as well: one set here shows when xev has started listening.
xev -root -event substructure -event property >"$out/xev.log" 2>&1 &
xev_pid=$!
xev_listens() {
  xprop -root -f QUARVELINGDROME_E2E_READY 8s -set QUARVELINGDROME_E2E_READY yes
  grep -q 'QUARVELINGDROME_E2E_READY' "$out/xev.log"
}
within "$kWaitSeconds" xev_listens || fail "xev did not start"

# ---- Start ------------------------------------------------------------------------------------------
started=$(now_ms)
wine "$game" </dev/null >"$out/game.log" 2>&1 &
game_pid=$!

game_window=$(timeout "$kWaitSeconds" xdotool search --sync --onlyvisible --name '^quarvelingdrome$' |
  head -n1) || fail "the game window did not appear"
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
read -r offset matching total < <("$probe" background "$last_shot" 300 499)
[ "$matching" -eq "$total" ] || fail "the sky differs from the background picture ($matching of $total)"
[ "$offset" -le 0 ] && [ $((-offset * 50)) -le $((first_ms + 100)) ] ||
  fail "scroll offset $offset is more than the 50 ms ticks since launch allow"
note "sky: the background picture at scroll offset $offset, all $total pixels of rows 300-499"

"$probe" whole "$last_shot" 105 | grep -x '105 0 0' >/dev/null || fail "no level flyer at (0, 0)"
note "flyer: the level-flight picture at (0, 0)"

read -r left top right bottom <"$frames/start.gdi.labels"
read -r differing total < <("$probe" region "$last_shot" "$frames/start.gdi.frame" \
  "$left" "$top" "$right" "$bottom")
[ "$differing" -eq 0 ] || fail "the score label differs from a fresh game's ($differing of $total)"
note "score label: the same $total pixels as a fresh game's frame (score 0)"

# ---- The first enemy flies on row 20 ----------------------------------------------------------
enemies=""
enemies_show() {
  take_shot enemies
  enemies=$("$probe" whole "$last_shot" 107 || true)
  [ -n "$enemies" ]
}
within "$kWaitSeconds" enemies_show || fail "no enemy appeared"
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
  "$probe" whole "$last_shot" 105,120,121 | awk 'NR == 1 { print $2, $3 }'
}
flyer_past() {  # flyer_past COLUMN LIMIT: in a new shot, the flyer's x (1) or y (2) is past LIMIT
  take_shot diving
  flyer_at | awk -v c="$1" -v limit="$2" '$c >= limit {f = 1} END {exit !f}'
}
xdotool mousemove --window "$game_window" 400 300
xdotool keydown Right keydown Down
within "$kWaitSeconds" flyer_past 1 10 || fail "Right did not move the flyer"
xdotool keyup Right
within "$kWaitSeconds" flyer_past 2 300 || fail "Down did not take the flyer to row 300"
xdotool keyup Down
# The level-flight loop puts the level picture back within 200 ms.
level_again() {
  take_shot moved
  "$probe" whole "$last_shot" 105 >/dev/null
}
within "$kWaitSeconds" level_again || fail "the flyer never shows level flight again"
flyer=$("$probe" whole "$last_shot" 105,120,121 || true)
[ "$(wc -l <<<"$flyer")" -eq 1 ] || fail "not one flyer in the frame: $flyer"
read -r flyer_sprite flyer_x flyer_y <<<"$flyer"
[ "$flyer_x" -gt 0 ] && [ "$flyer_y" -ge 300 ] && [ $((flyer_x % 10)) -eq 0 ] &&
  [ $((flyer_y % 10)) -eq 0 ] || fail "the flyer stands at ($flyer_x, $flyer_y)"
[ "$flyer_sprite" -eq 105 ] || fail "the flyer shows picture $flyer_sprite after the keys went up"
note "flyer moved to ($flyer_x, $flyer_y) in 10-pixel steps, level again after the keys"

# ---- A space key-down fires ------------------------------------------------------------------
[ -z "$("$probe" whole "$last_shot" 106)" ] || fail "a bullet before any shot"
bullet_y=$((flyer_y + kNoseY - kBulletDrawAbove))
bullet=""
shots_fired=0
# A bullet flies for some 30 frames; a slow screenshot may miss it, so fire again until one shows.
fire_and_see() {
  xdotool key space
  shots_fired=$((shots_fired + 1))
  take_shot "bullet$shots_fired"
  bullet=$("$probe" whole "$last_shot" 106 |
    awk -v x0=$((flyer_x + kFlyerWidth)) -v y="$bullet_y" \
      '$3 == y && $2 >= x0 && ($2 - x0) % 20 == 0' | head -n1 || true)
  [ -n "$bullet" ]
}
within "$kWaitSeconds" fire_and_see || fail "no bullet at row $bullet_y after $shots_fired shots"
read -r _ bullet_x _ <<<"$bullet"
note "bullet at ($bullet_x, $bullet_y): the nose plus $(((bullet_x - flyer_x - kFlyerWidth) / 20)) steps of 20"

# ---- Alt+F4 closes; the process ends with code 0 ------------------------------------------------
xdotool mousemove --window "$game_window" 400 300
closing=$(now_ms)
xdotool key alt+F4
within "$kWaitSeconds" eval '! kill -0 "$game_pid" 2>/dev/null' ||
  fail "the process still runs ${kWaitSeconds} s after Alt+F4"
close_ms=$(($(now_ms) - closing))
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "exit code $status"
note "Alt+F4: process ended with exit code 0, ${close_ms} ms after the key"

# ---- The host window was mapped only after the game window went -------------------------------
# The process has ended, so every map and unmap it caused has happened; a last property change
# reaches xev after them all.
xprop -root -f QUARVELINGDROME_E2E_DONE 8s -set QUARVELINGDROME_E2E_DONE yes
within "$kWaitSeconds" grep -q 'QUARVELINGDROME_E2E_DONE' "$out/xev.log" || fail "xev stopped listening"
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
