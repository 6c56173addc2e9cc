#!/bin/sh
# Draws the cross-check scenes with the GDI canvas under Wine, then with the software canvas,
# and compares them. Usage: crosscheck.sh GDI_EXE SOFT_EXE OUTPUT_DIR
# Wine's prefix and settings come from the environment (the mingw test preset).
set -eu
gdi=$1 soft=$2 out=$3
rm -rf "$out"
mkdir -p "$out"
timeout -k 5 60 wine "$gdi" "$(winepath -w "$out" 2>/dev/null || echo "$out")"
timeout -k 5 60 "$soft" "$out"
