#!/usr/bin/env bash
# Checks that a built program carries the hardening of its build: for the Linux program (ELF) the
# flags Debian builds its packages with, for the Windows program (PE) what mingw-w64 offers of them.
#
#   hardened_build_check.sh PROGRAM
#
# ELF: full RELRO (a GNU_RELRO segment and BIND_NOW), a position-independent executable, a stack
# that cannot execute, the stack protector (__stack_chk_fail) and FORTIFY (the checked __*_chk
# variants of the C library's functions). PE: ASLR with high-entropy addresses, NX, and the stack
# protector's check routine linked in.
set -uo pipefail

program=$1
# shellcheck source=checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
has() { grep -Eq "$1" <<<"$2"; }

case "$(head -c 4 "$program" | od -An -c | tr -d ' ')" in
  177ELF)
    headers=$(readelf -hlW "$program") dynamic=$(readelf -dW "$program")
    symbols=$(readelf --dyn-syms -W "$program" | awk '{print $8}')
    check "full RELRO: a GNU_RELRO segment" has 'GNU_RELRO' "$headers"
    check "full RELRO: bound at load (BIND_NOW)" has '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' "$dynamic"
    check "a position-independent executable (DYN, PIE)" \
      eval 'has "Type: +DYN" "$headers" && has "\(FLAGS_1\).*PIE" "$dynamic"'
    check "a stack that cannot execute (GNU_STACK RW)" has 'GNU_STACK( +[^ ]+){5} +RW ' "$headers"
    check "the stack protector: __stack_chk_fail" has '^__stack_chk_fail' "$symbols"
    fortified=$(grep -E '^__[a-z_]+_chk(@|$)' <<<"$symbols" | grep -v __stack_chk | tr '\n' ' ')
    check "FORTIFY: the checked library calls ($fortified)" test -n "$fortified"
    ;;
  MZ*)
    objdump=x86_64-w64-mingw32-objdump
    headers=$("$objdump" -p "$program")
    symbols=$("$objdump" -t "$program")
    # objdump lists the DllCharacteristics flags by name, one a line, under the field.
    check "ASLR: DYNAMIC_BASE" has '^\s+DYNAMIC_BASE$' "$headers"
    check "high-entropy addresses: HIGH_ENTROPY_VA" has '^\s+HIGH_ENTROPY_VA$' "$headers"
    check "NX: NX_COMPAT" has '^\s+NX_COMPAT$' "$headers"
    check "the stack protector: __stack_chk_fail linked in" has ' __stack_chk_fail$' "$symbols"
    ;;
  *)
    fail "$program is neither an ELF nor a PE program"
    ;;
esac

if [ "$failures" -gt 0 ]; then
  echo "$program: $failures hardening check(s) failed"
  exit 1
fi
echo "$program: hardened"
