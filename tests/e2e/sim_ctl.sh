#!/usr/bin/env bash
# The simulator's control tool adslsim.exe: its command line (exit codes,
# one-line messages), and that what it sets stays set from one invocation to
# the next and shows in `status`.
source "$(dirname "$0")/lib.sh"

ctl() { # runs the tool; sets OUT, ERR (its "adslsim:" lines) and RC
    local err_file
    err_file=$(mktemp)
    OUT=$($MODAVI_WINE "$SIM/adslsim.exe" "$@" 2>"$err_file")
    RC=$?
    OUT=${OUT//$'\r'/}
    ERR=$(tr -d '\r' <"$err_file" | grep '^adslsim:')
    rm -f "$err_file"
}
refused() { [ "$RC" == 2 ] && [ "$(grep -c . <<<"$ERR")" == 1 ]; }
out_has() { grep -qxF -- "$1" <<<"$OUT"; }

for args in "" "bogus" "status extra" "devices" "devices all" "set 0x1" "set 0x1 --dword 1 --text a" \
    "set 0x10000 --dword 1" "set 0x1 --dword 0x100000000" "set 0x1 --bytes abc" "set 0x1 --status" \
    "set 0x1 --status 1 --status 2 --dword 1" "set 0x1 --colour red --dword 1" "fail" "fail 12x" "unset 1 2" \
    "count 1" "count 1 x" "count 1 2 --begin 3" "stats --bogus" "reset now" \
    "set 0x1 --text $(head -c 4088 /dev/zero | tr '\0' x)"; do
    # shellcheck disable=SC2086
    ctl $args
    check "'adslsim ${args:0:40}' is refused with exit 2 and one line" refused
done

OUT=$(ADSLSIM_CONTROL_DEVICE='\\.\NoSuchDevice' $MODAVI_WINE "$SIM/adslsim.exe" status 2>/dev/null)
check_eq "an unreachable control device gives exit 1" 1 "$?"

ctl reset
check_eq "reset" 0 "$RC"
ctl status
check_eq "status after reset: both devices, no fixed answers" "devices both|2" "$(head -1 <<<"$OUT")|$(wc -l <<<"$OUT")"

# What is set stays set between invocations; numbers decimal or hexadecimal.
ctl set 258 --dword 0x10
ctl set 0x0001 --text abc
ctl set 0x01e4 --status 0x7 --length 9 --bytes "01 02"
ctl fail 0x0004
ctl count 0x301 16 --start 0xfffffff0
ctl status
check "status lists a --dword answer (set with a decimal code)" out_has "set 0x0102 --status 0 --length 4 --bytes 10000000"
check "a --text answer: its terminator in the data, not in the length" out_has "set 0x0001 --status 0 --length 3 --bytes 61626300"
check "--status and --length as given" out_has "set 0x01e4 --status 7 --length 9 --bytes 0102"
check "a failing code" out_has "fail 0x0004"
check "a counter with its next value" out_has "count 0x0301 0x00000010 --start 0xfffffff0"
ctl unset 0x0004
ctl devices none
ctl status
check "unset removes the fixed answer; devices none shows" eval '! grep -q "fail 0x0004" <<<"$OUT" && out_has "devices none"'
ctl reset
ctl status
check_eq "reset removes every fixed answer and brings both devices back" "devices both|2" "$(head -1 <<<"$OUT")|$(wc -l <<<"$OUT")"

e2e_done
