#!/usr/bin/env bash
# Tells whether this machine runs 32-bit (i386) programs: it assembles and links a static i386
# program of four instructions (binutils' as --32 and ld -m elf_i386, nothing prebuilt) and runs
# it. Exit 0 when it ran and ended with its own exit code; otherwise exit 1 with the reason on
# standard output, in one line. Q7N_ASSUME_NO_32BIT=1 makes the probe fail, to try the paths of a
# machine that refuses 32-bit programs on one that runs them.
#   scripts/probe-32bit.sh
set -uo pipefail

if [ "${Q7N_ASSUME_NO_32BIT:-}" = 1 ]; then
    echo "Q7N_ASSUME_NO_32BIT=1 says this machine cannot run 32-bit programs"
    exit 1
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# exit(42) through the 32-bit system call gate.
cat >"$scratch/probe.s" <<'ASM'
    .globl _start
_start:
    movl $1, %eax
    movl $42, %ebx
    int $0x80
ASM
if ! as --32 -o "$scratch/probe.o" "$scratch/probe.s" 2>"$scratch/log" ||
    ! ld -m elf_i386 -o "$scratch/probe" "$scratch/probe.o" 2>>"$scratch/log"; then
    echo "the 32-bit probe could not be built: $(tr '\n' ' ' <"$scratch/log")"
    exit 1
fi
"$scratch/probe" 2>"$scratch/log"
status=$?
if [ $status -ne 42 ]; then
    reason=$(tr '\n' ' ' <"$scratch/log" | sed 's/ *$//')
    echo "this machine cannot run 32-bit programs (a static i386 program ended with $status${reason:+: $reason})"
    exit 1
fi
exit 0
