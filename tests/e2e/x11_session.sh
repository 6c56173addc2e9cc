# What the end-to-end scripts of the Linux program share: the tally of checks, a private Xvfb, the
# game's window, screenshots judged by shot_probe, and the game's exit. Sourced by a script that
# has set `probe` (shot_probe) and `out` (its artifact folder); ends every process it started.
#
# Every wait follows what the game shows or does: it polls for the state until it appears, with a
# generous outer limit (kWaitSeconds) that only a hang reaches, so a busy machine or a sanitizer
# build makes a run slower, not red.

# shellcheck source=../checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
# shellcheck source=within.sh
source "$(dirname "${BASH_SOURCE[0]}")/within.sh"

readonly kWaitSeconds=120

# finish: the script's verdict from the tally.
finish() {
  echo "artifacts: $out"
  if [ "$failures" -gt 0 ]; then
    echo "$failures end-to-end check(s) failed"
    exit 1
  fi
  echo "all end-to-end checks passed"
  exit 0
}

# Ends every process the script started, and keeps the screenshots as PNG pictures.
session_pids=()
end_session() {
  for pid in "${session_pids[@]}"; do kill -KILL "$pid" 2>/dev/null; done
  wait 2>/dev/null
  for dump in "$out"/*.xwd; do
    [ -e "$dump" ] && convert "xwd:$dump" "${dump%.xwd}.png" && rm -f "$dump"
  done
}
trap end_session EXIT

# need_tools TOOL...: exits 77 (skipped) without Xvfb, and fails without the others.
need_tools() {
  if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed (scripts/test installs it with the other test packages)"
    exit 77
  fi
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing"; exit 1; }
  done
}

# start_display [DEPTH]: an Xvfb of that colour depth (24 unless given) on a free display number
# derived from $$; sets DISPLAY. Key auto-repeat as on a usual desktop: after 660 ms, 25 a second.
start_display() {
  local depth=${1:-24} number=$((200 + $$ % 500))
  while [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; do
    number=$((number + 1))
  done
  Xvfb ":$number" -screen 0 "1024x768x$depth" -nolisten tcp -ardelay 660 -arinterval 40 \
    >"$out/xvfb-$number.log" 2>&1 &
  session_pids+=($!)
  export DISPLAY=":$number"
  within "$kWaitSeconds" eval 'xdotool getdisplaygeometry >/dev/null 2>&1' && return 0
  echo "FAIL: Xvfb on $DISPLAY did not start"
  exit 1
}

# note_game PID LOG: the game just started in the background as PID (its stderr in LOG, if any);
# waits for its window and puts the pointer in it, since with no window manager keys go where the
# pointer is. Sets game_pid, window and window_pid (the game's own process, which PID may wrap).
note_game() {
  game_pid=$1
  local log=$2
  session_pids+=("$game_pid")
  window=$(timeout -k 2 "$kWaitSeconds" xdotool search --sync --name '^quarvelingdrome$' |
    head -n 1)
  if [ -z "$window" ]; then
    echo "FAIL: no window named quarvelingdrome appeared"
    [ -f "$log" ] && cat "$log"
    exit 1
  fi
  window_pid=$(xdotool getwindowpid "$window")
  session_pids+=("$window_pid")
  xdotool mousemove --window "$window" 400 300 windowfocus --sync "$window" 2>/dev/null
}

# wait_exit PID: the exit code of PID, or 124 if it still runs after kWaitSeconds (a hang); a hung
# game is ended, so that no later search finds its window.
wait_exit() {
  local pid=$1
  if ! within "$kWaitSeconds" eval "! kill -0 $pid 2>/dev/null"; then
    kill -KILL "$pid" "${window_pid:-}" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 124
  fi
  wait "$pid"
}

# shot NAME: the window as NAME.xwd, an X window dump (no window manager: all of it is the client
# area), which shot_probe reads directly; xwd is quick, so the shots follow the game closely.
shot() {
  xwd -id "$window" -silent >"$out/$1.xwd" 2>/dev/null
}

# shot_until NAME TEST...: takes shot NAME again and again until TEST succeeds on it, for at most
# kWaitSeconds.
shot_until() {
  local name=$1 deadline=$((SECONDS + kWaitSeconds))
  shift
  until shot "$name" && "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# find_in NAME IDS [TOLERANCE]: positions "x y" of the pictures IDS in shot NAME.
find_in() {
  "$probe" find "$out/$1.xwd" "$2" "${3:-0}" | awk '{print $2, $3}'
}

# score_in NAME: the score shot NAME shows, or nothing.
score_in() {
  "$probe" score "$out/$1.xwd" 2>/dev/null
}
