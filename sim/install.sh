#!/usr/bin/env bash
# Installs the simulated modem driver into the build's Wine prefix: copies
# adslsim.sys into system32\drivers when it changed, registers the kernel
# service once (auto-start, so Wine's device host loads it with the first
# program of the prefix), restarts the prefix when anything changed, and waits
# until the control device answers. Idempotent; does nothing when up to date.
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
wine_env

SERVICE=adslsim
DRIVERS=$WINEPREFIX/drive_c/windows/system32/drivers
TARGET=$DRIVERS/$SERVICE.sys
SOURCE=$SIM/$SERVICE.sys
CTL=$SIM/adslsim.exe
WAIT_SECONDS=${ADSLSIM_INSTALL_WAIT:-30}

[ -f "$SOURCE" ] || die "no driver at $SOURCE"
[ -d "$DRIVERS" ] || die "no Wine prefix at $WINEPREFIX"

registered() {
    # The registry file is current whenever the prefix is not running, which is
    # when this check matters; a stale "no" only costs one more registration.
    grep -qi "^\[System\\\\\\\\CurrentControlSet\\\\\\\\Services\\\\\\\\$SERVICE\]" "$WINEPREFIX/system.reg"
}

changed=0
if ! cmp -s "$SOURCE" "$TARGET"; then
    say "installing $SERVICE.sys into the Wine prefix"
    cp "$SOURCE" "$TARGET"
    changed=1
fi
if ! registered; then
    say "registering the $SERVICE kernel service"
    reg_file=$(mktemp --suffix=.reg)
    trap 'rm -f "$reg_file"' EXIT
    cat >"$reg_file" <<EOF
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\$SERVICE]
"Type"=dword:00000001
"Start"=dword:00000002
"ErrorControl"=dword:00000001
"ImagePath"="C:\\\\windows\\\\system32\\\\drivers\\\\$SERVICE.sys"
"DisplayName"="Simulated ADSL modem"
EOF
    $MODAVI_WINE reg import "Z:${reg_file//\//\\}" >/dev/null 2>&1 ||
        die "could not register the $SERVICE service"
    changed=1
fi
[ "$changed" = 1 ] || exit 0

# Restart the prefix so that the device host loads the new driver; stopping
# the server also writes the registry out.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
registered || die "the $SERVICE service is not in the registry"

[ -f "$CTL" ] || exit 0
for _ in $(seq 1 "$WAIT_SECONDS"); do
    if $MODAVI_WINE "$CTL" status >/dev/null 2>&1; then
        exit 0
    fi
    sleep 1
done
die "the simulator did not answer within $WAIT_SECONDS s (wine $CTL status)"
