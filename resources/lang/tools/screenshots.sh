#!/usr/bin/env bash
# Screenshots of the language modules' classic dialog, filled with each
# module's own texts by lang_viewer, under Wine on a private Xvfb:
#   $MODAVI_BUILD/screenshots/lang-<language>.png          (status page shown)
#   $MODAVI_BUILD/screenshots/lang-<language>-version.png  (version page shown)
# with <language> the program's name of it: english, japanese, chinese_simp ...
# Usage: resources/lang/tools/screenshots.sh [MODULE...]   (default: all 14)
# Needs "scripts/build win" first. Each module is shown under the locale that
# selects it, as the program would load it: Wine draws Chinese, Japanese and
# Korean texts in a face it lacks (the templates name the Windows faces) with
# an installed CJK font only when the locale's code page is a CJK one.
set -euo pipefail
source "$(dirname "$0")/../../../scripts/lib.sh"

modules=("$@")
[ ${#modules[@]} -gt 0 ] || modules=(CplEng CplJapan CplChinS CplChinT CplGermn CplItaln CplKorea
                                     CplPort CplSpan CplFrnch CplDansh CplDutch CplTurkish CplRussian)
viewer=$BUILD/win/resources/lang/lang_viewer.exe
[ -f "$viewer" ] || die "no $viewer: run scripts/build win first"

wine_env
ensure_display private
work=$(mktemp -d)
trap 'prefix_stop; stop_display; rm -rf "$work"' EXIT
prefix_init
mkdir -p "$SCREENSHOTS"

declare -A language=(
    [CplEng]=english [CplJapan]=japanese [CplChinS]=chinese_simp [CplChinT]=chinese_trad [CplGermn]=german
    [CplItaln]=italian [CplKorea]=korean [CplPort]=portuguese [CplSpan]=spanish [CplFrnch]=french
    [CplDansh]=danish [CplDutch]=dutch [CplTurkish]=turkish [CplRussian]=russian)
declare -A locale=(
    [CplEng]=en_US [CplJapan]=ja_JP [CplChinS]=zh_CN [CplChinT]=zh_TW [CplGermn]=de_DE [CplItaln]=it_IT
    [CplKorea]=ko_KR [CplPort]=pt_BR [CplSpan]=es_ES [CplFrnch]=fr_FR [CplDansh]=da_DK [CplDutch]=nl_NL
    [CplTurkish]=tr_TR [CplRussian]=ru_RU)

winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Position of the Wine desktop window on the X screen (Wine's window
# coordinates are relative to it).
desktop_origin() {
    local at
    at=$(xwininfo -root -tree | awk '/Wine desktop/ { print $NF; exit }')  # "+X+Y"
    [[ $at =~ ^\+(-?[0-9]+)\+(-?[0-9]+)$ ]] || { echo "0 0"; return; }
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}

shoot() { # module page
    local module=$1 page=$2
    local ready=$work/$module-$page.ready done=$work/$module-$page.done
    local out=$SCREENSHOTS/lang-${language[$module]:-$module}.png
    [ "$page" = status ] || out=$SCREENSHOTS/lang-${language[$module]:-$module}-$page.png
    LC_ALL=${locale[$module]:-en_US}.UTF-8 $MODAVI_WINE "$viewer" "$(winpath "$DIST/$module.dll")" "$page" "$(winpath "$ready")" "$(winpath "$done")" &
    local pid=$! i
    for i in $(seq 1 300); do
        [ -f "$ready" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -f "$ready" ]; then
        touch "$done"; wait "$pid" || true
        die "lang_viewer showed nothing for $module"
    fi
    local left top right bottom dx dy
    read -r left top right bottom < <(tr -d '\r' <"$ready")
    read -r dx dy < <(desktop_origin)
    import -window root -crop "$((right - left))x$((bottom - top))+$((left + dx))+$((top + dy))" +repage "$out"
    touch "$done"
    wait "$pid" || true
    say "$out"
}

for module in "${modules[@]}"; do
    shoot "$module" status
    shoot "$module" version
done
