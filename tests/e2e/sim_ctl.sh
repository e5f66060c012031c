#!/usr/bin/env bash
# The control tool adslsim.exe against the installed simulator: its command
# line (exit codes, one-line messages), and that what it sets stays set from
# one invocation to the next and shows in `status`. The prefix's server is
# made persistent meanwhile, so that the device host (and with it the
# simulator's state) lives between the separate programs.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"

CTL=$SIM/adslsim.exe
[ -f "$CTL" ] || die "no $CTL: build the Windows tree first"
prefix_init
prefix_stop
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT

failures=0
OUT=
ERR=
RC=0
ctl() { # runs adslsim with the arguments; sets OUT, ERR, RC
    local err_file
    err_file=$(mktemp)
    OUT=$($MODAVI_WINE "$CTL" "$@" 2>"$err_file")
    RC=$?
    ERR=$(grep '^adslsim:' "$err_file")
    rm -f "$err_file"
}
check() { # description, then a command that succeeds when the check holds
    local what=$1
    shift
    if "$@"; then
        echo "ok   - $what"
    else
        echo "FAIL - $what (exit $RC, out: ${OUT//$'\n'/|}, err: $ERR)"
        failures=$((failures + 1))
    fi
}
exits() { [ "$RC" = "$1" ]; }
one_message() { [ "$(printf '%s\n' "$ERR" | grep -c .)" = 1 ]; }
out_has() { printf '%s\n' "$OUT" | grep -qxF -- "$1"; }
out_lacks() { ! printf '%s\n' "$OUT" | grep -q -- "$1"; }

# Bad arguments: exit 2 and one line.
for args in "" "bogus" "status extra" "devices" "devices all" "set 0x1" "set 0x1 --dword 1 --text a" \
    "set 0x10000 --dword 1" "set 0x1 --dword 0x100000000" "set 0x1 --bytes abc" "set 0x1 --status" \
    "set 0x1 --status 1 --status 2 --dword 1" "set 0x1 --colour red --dword 1" "fail" "fail 12x" "unset 1 2" \
    "count 1" "count 1 x" "count 1 2 --begin 3" "stats --bogus" "reset now"; do
    # shellcheck disable=SC2086
    ctl $args
    check "'adslsim $args' is refused with exit 2 and one line" eval 'exits 2 && one_message'
done
ctl set 0x1 --text "$(head -c 4088 /dev/zero | tr '\0' x)"
check "a text without room for its terminator is refused" exits 2

# An unreachable control device: exit 1.
OUT=$(ADSLSIM_CONTROL_DEVICE='\\.\NoSuchDevice' $MODAVI_WINE "$CTL" status 2>/dev/null)
RC=$?
check "an unreachable control device gives exit 1" exits 1

ctl reset
check "reset" exits 0
ctl status
check "status after reset: both devices, no fixed answers" eval \
    'exits 0 && [ "$(printf "%s\n" "$OUT" | head -1)" = "devices both" ] && [ "$(printf "%s\n" "$OUT" | wc -l)" = 2 ]'

# What is set stays set between invocations; numbers decimal or hexadecimal.
ctl set 258 --dword 0x10
check "set with a decimal code" exits 0
ctl set 0x0001 --text abc
ctl set 0x01e4 --status 0x7 --length 9 --bytes "01 02"
ctl fail 0x0004
ctl count 0x301 16 --start 0xfffffff0
ctl status
check "status lists a --dword answer" out_has "set 0x0102 --status 0 --length 4 --bytes 10000000"
check "status lists a --text answer: terminator in the data, not in the length" \
    out_has "set 0x0001 --status 0 --length 3 --bytes 61626300"
check "status lists --status and --length as given" out_has "set 0x01e4 --status 7 --length 9 --bytes 0102"
check "status lists a failing code" out_has "fail 0x0004"
check "status lists a counter with its next value" out_has "count 0x0301 0x00000010 --start 0xfffffff0"

ctl unset 0x0004
ctl status
check "unset removes the fixed answer" out_lacks "fail 0x0004"

ctl devices none
ctl status
check "devices none shows in status" out_has "devices none"

ctl reset
ctl status
check "reset removes every fixed answer and brings both devices back" eval \
    'out_has "devices both" && out_lacks "^set " && out_lacks "^count "'

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
