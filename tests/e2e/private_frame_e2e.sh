#!/usr/bin/env bash
# The Linux program's frame on its way to the X server: the shared memory that carries it is open
# to the game's user alone.
#
#   private_frame_e2e.sh GAME X11_CLOSE SHM_PEEK ARTIFACT_DIR
#
# On a private Xvfb (which offers MIT-SHM), the game's shared-memory segments are read from
# /proc/sysvipc/shm: after the first frames and after a resize (which makes a new segment), each
# must carry no permission for group or others. Run as root, the script also tries, as the user
# nobody, what another user would: attach the frame segment (SHM_PEEK). Exits 77 (skipped) when
# Xvfb is not installed.
set -uo pipefail

game=$1 closer=$2 peek=$3 out=$4 probe=""
rm -rf "$out" && mkdir -p "$out"
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"
need_tools xdotool

# segments PID: "shmid perms size" of each segment the process PID created.
segments() {
  awk -v pid="$1" 'NR > 1 && $5 == pid {print $2, $3, $4}' /proc/sysvipc/shm
}

# frame_segment PID BYTES: the id of a segment of at least BYTES that PID created, once the game
# has made it for its window's frame.
segment_of() { segments "$1" | awk -v bytes="$2" '$3 >= bytes {print $1; exit}'; }
frame_segment() {
  within "$kWaitSeconds" eval '[ -n "$(segment_of '"$1 $2"')" ]' && segment_of "$1" "$2"
}

# check_private WHEN: every segment of the game is closed to group and others, and so is the frame
# segment to the user nobody.
check_private() {
  local when=$1 id=$2 open_ones
  segments "$window_pid" >"$out/segments-$when.txt"
  # perms is octal, with the kernel's flag bits above the nine permission bits.
  open_ones=$(awk '{ if (substr($2, length($2) - 1) != "00") print }' "$out/segments-$when.txt")
  check "$when: no segment of the game is open to group or others ($(tr '\n' ';' <"$out/segments-$when.txt"))" \
    test -z "$open_ones"
  if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
    local said attached=0
    said=$(setpriv --reuid=65534 --regid=65534 --clear-groups "$peek" "$id" 2>&1) && attached=1
    check "$when: the user nobody cannot attach the frame segment ($said)" \
      test "$attached" -eq 0 -a -n "$(grep "Permission denied" <<<"$said")"
  fi
}

start_display
SDL_AUDIODRIVER=dummy "$game" 2>"$out/game.log" &
note_game $! "$out/game.log"

frame=$(frame_segment "$window_pid" $((800 * 600 * 4)))
check "the 800 x 600 frame goes to the X server through a segment of shared memory (${frame:-none})" \
  test -n "$frame"
check_private "first frames" "$frame"

# A resize makes a new segment for the larger window.
xdotool windowsize "$window" 1000 700
resized=$(frame_segment "$window_pid" $((1000 * 700 * 4)))
check "after a resize to 1000 x 700 a new, larger segment carries the frame (${resized:-none})" \
  test -n "$resized"
check_private "after the resize" "$resized"

"$closer" "$window"
wait_exit "$game_pid"
code=$?
check "closing the window ends the game with exit code 0 (got $code)" test "$code" -eq 0
finish
