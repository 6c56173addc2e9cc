# What the end-to-end scripts of the Linux program share: the tally of checks, a private Xvfb, the
# game's window, screenshots judged by shot_probe, and the game's exit. Sourced by a script that
# has set `probe` (shot_probe) and `out` (its artifact folder); ends every process it started.

# shellcheck source=../checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
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

session_pids=()
end_session() {
  for pid in "${session_pids[@]}"; do kill -KILL "$pid" 2>/dev/null; done
  wait 2>/dev/null
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

# start_display [XVFB_ARG...]: a 24-bit Xvfb on a free display number derived from $$, with key
# auto-repeat as on a usual desktop (after 660 ms, 25 a second); sets DISPLAY and display_pid.
start_display() {
  local number=$((200 + $$ % 500))
  while [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; do
    number=$((number + 1))
  done
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -ardelay 660 -arinterval 40 "$@" \
    >"$out/xvfb-$number.log" 2>&1 &
  display_pid=$!
  session_pids+=("$display_pid")
  export DISPLAY=":$number"
  for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "FAIL: Xvfb on $DISPLAY did not start"
  exit 1
}

# note_game PID LOG: the game just started in the background as PID (its stderr in LOG, if any);
# waits for its window (at most LIMIT seconds, 30 unless set: a hang, not slowness), puts the
# pointer in it, since with no window manager keys go where the pointer is; sets game_pid,
# window and window_pid (the game's own process, which PID may only wrap).
note_game() {
  game_pid=$1
  local log=$2
  session_pids+=("$game_pid")
  window=$(timeout -k 2 "${LIMIT:-30}" xdotool search --sync --name '^quarvelingdrome$' | head -n 1)
  if [ -z "$window" ]; then
    echo "FAIL: no window named quarvelingdrome appeared"
    [ -f "$log" ] && cat "$log"
    exit 1
  fi
  window_pid=$(xdotool getwindowpid "$window")
  session_pids+=("$window_pid")
  xdotool windowmove "$window" 0 0 mousemove --window "$window" 400 300 \
    windowfocus --sync "$window" 2>/dev/null
}

# wait_exit PID: the exit code of PID, or 124 if it still runs after 10 s (a hang, not slowness);
# a hung game is ended, so that no later search finds its window.
wait_exit() {
  local pid=$1
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid" "${window_pid:-}" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 124
  fi
  wait "$pid"
}

# shot NAME: the window's client area as NAME.png (kept) and NAME.ppm (for shot_probe). (import
# asks for a click when the window is gone, hence the time limit.)
shot() {
  timeout -k 2 20 import -window "$window" "$out/$1.png" 2>/dev/null &&
    convert "$out/$1.png" -depth 8 "$out/$1.ppm" 2>/dev/null
}

# shot_until NAME TEST...: takes shot NAME again and again, at most TRIES times (40 unless set),
# until TEST succeeds on it.
shot_until() {
  local name=$1
  shift
  for _ in $(seq "${TRIES:-40}"); do
    shot "$name" && "$@" && return 0
    sleep 0.25
  done
  return 1
}

# find_in NAME IDS [TOLERANCE]: positions "x y" of the pictures IDS in shot NAME.
find_in() {
  "$probe" find "$out/$1.ppm" "$2" "${3:-0}" | awk '{print $2, $3}'
}

# score_in NAME: the score shot NAME shows, or nothing.
score_in() {
  "$probe" score "$out/$1.ppm" 2>/dev/null
}
