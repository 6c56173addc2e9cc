#!/usr/bin/env bash
# How much processor time the Linux program and the X server spend while the game runs idle in a
# window on a private Xvfb: the cost of the frame's path to the server.
#
#   bench/x11_frame_cpu.sh GAME [SECONDS] [XVFB_ARG...]
#
# e.g. `bench/x11_frame_cpu.sh build/game/src/shell/sdl/quarvelingdrome 30` for the frame through
# shared memory, and the same with `-extension MIT-SHM` after the seconds for the frame sent over
# the connection. Prints the game's and the server's share of one core over SECONDS (30 unless
# given), measured after the first frames, and the game's shared-memory segments.
set -euo pipefail

game=$1 seconds=${2:-30}
shift $(($# < 2 ? $# : 2))
pids=()
trap 'for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done; wait 2>/dev/null || true' EXIT

number=$((200 + $$ % 500))
while [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; do number=$((number + 1)); done
Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp "$@" >/dev/null 2>&1 &
server=$!
pids+=("$server")
export DISPLAY=":$number"
until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.1; done

SDL_AUDIODRIVER=dummy "$game" 2>/dev/null &
pids+=($!)
window=$(timeout 30 xdotool search --sync --name '^quarvelingdrome$' | head -n 1)
pid=$(xdotool getwindowpid "$window")
sleep 2  # past the creation steps and the first frames

# ticks PID: user + system processor time of PID so far, in clock ticks.
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
game0=$(ticks "$pid") server0=$(ticks "$server") start=$(date +%s%N)
sleep "$seconds"
game1=$(ticks "$pid") server1=$(ticks "$server") end=$(date +%s%N)
wall_ms=$(((end - start) / 1000000))
share() { awk -v t="$1" -v hz="$hz" -v ms="$wall_ms" 'BEGIN {printf "%.2f %%", 100 * t / hz * 1000 / ms}'; }
echo "game:   $(share $((game1 - game0))) of one core over $wall_ms ms"
echo "server: $(share $((server1 - server0))) of one core"
echo "shared-memory segments of the game (shmid perms size):" \
  "$(awk -v p="$pid" 'NR > 1 && $5 == p {printf "%s %s %s; ", $2, $3, $4}' /proc/sysvipc/shm)"
