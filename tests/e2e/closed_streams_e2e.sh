#!/usr/bin/env bash
# The Linux program started with its standard descriptors closed, in a real X window on Xvfb.
#
#   closed_streams_e2e.sh GAME SHOT_PROBE X11_CLOSE STDERR_LINE_LIB ARTIFACT_DIR
#
# With a descriptor closed, the X connection could take its number; a library's later message
# on stderr would then go into the X stream and freeze the window. Each run writes a line to the
# game's descriptor 2 from inside its process (STDERR_LINE_LIB, preloaded, does it on SIGUSR1),
# then checks that the game still paints and closes with exit code 0. A first run with stderr open
# shows that the line really is written. Exits 77 (skipped) when Xvfb is not installed.
set -uo pipefail

game=$1 probe=$2 closer=$3 line_lib=$4 out=$5
rm -rf "$out" && mkdir -p "$out"
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"
need_tools xdotool xwd convert
# An AddressSanitizer build wants its runtime first among the libraries; the line writer, built
# without it, is preloaded before it. Harmless here: the writer allocates nothing.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

start_display

# The enemy on row 20 shows from 0.8 s; its x, or nothing.
row20_enemy() { find_in "$1" 107 | awk '$2 == 20 {print $1; exit}'; }

# play_with LABEL open|stderr|all: one game with none, descriptor 2, or all three standard
# descriptors closed; a line on its descriptor 2, then the checks.
play_with() {
  local label=$1 name=$2
  case $name in
    open) env LD_PRELOAD="$line_lib" SDL_AUDIODRIVER=dummy "$game" 2>"$out/open.log" & ;;
    stderr) env LD_PRELOAD="$line_lib" SDL_AUDIODRIVER=dummy "$game" 2>&- & ;;
    all) env LD_PRELOAD="$line_lib" SDL_AUDIODRIVER=dummy "$game" <&- >&- 2>&- & ;;
  esac
  note_game $! "$out/open.log"
  local pid=$window_pid
  shot_until "$name-first" eval '[ -n "$(row20_enemy '"$name"'-first)" ]'
  check "$label: the game shows its first frames" test -n "$(row20_enemy "$name-first")"

  kill -USR1 "$pid"
  if [ "$name" = open ]; then
    shot_until "$name-said" grep -q "stderr_line:" "$out/open.log"
    check "$label: the line reached the game's stderr" grep -q "stderr_line:" "$out/open.log"
  fi
  # Still painting: the row-20 enemy is seen at two different places after the line.
  local seen=""
  shot_until "$name-after" eval 'seen=$(row20_enemy '"$name"'-after); [ -n "$seen" ]'
  shot_until "$name-later" eval 'x=$(row20_enemy '"$name"'-later); [ -n "$x" ] && [ "$x" != "$seen" ]'
  local later
  later=$(row20_enemy "$name-later")
  check "$label: after the line the game still paints (row-20 enemy x ${seen:-none} -> ${later:-none})" \
    test -n "$seen" -a -n "$later" -a "$later" != "$seen"
  if [ "$name" != open ]; then
    local closed=2 held="" strays=0
    [ "$name" = all ] && closed="0 1 2"
    for descriptor in $closed; do
      held+=" $descriptor:$(readlink "/proc/$pid/fd/$descriptor")"
      [ "$(readlink "/proc/$pid/fd/$descriptor")" = /dev/null ] || strays=$((strays + 1))
    done
    check "$label: each closed descriptor holds /dev/null:$held" test "$strays" -eq 0
  fi
  "$closer" "$window"
  wait_exit "$game_pid"
  local code=$?
  check "$label: closing the window ends the game with exit code 0 (got $code)" test "$code" -eq 0
}

play_with "stderr open" open
play_with "started with 2>&-" stderr
play_with "started with <&- >&- 2>&-" all
finish
