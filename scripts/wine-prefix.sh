#!/usr/bin/env bash
# Makes the private Wine prefix once (WINEARCH=win32, so IsWow64 is false inside).
# Safe to call from parallel processes: the first one builds it under a lock.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

# Bumped whenever the prefix set-up below changes, so old prefixes are made again.
layout=5
ready() { [ "$(cat "$WINEPREFIX/.quillet-ready" 2>/dev/null)" = "$layout" ]; }

case "${1:-ensure}" in
  ensure)
    ready && exit 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    ready && exit 0
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null || true
    # One virtual desktop: windows get Wine's own frames and captions, also under a bare Xvfb.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 </dev/null
    # Some Wine packages leave Marlett out of the prefix's font search; without it window captions
    # show letters where their buttons belong.
    for fonts in /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine*/share/wine/fonts; do
      if [ -f "$fonts/marlett.ttf" ]; then
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp "$fonts/marlett.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
        break
      fi
    done
    # Windows draws a character its dialog font lacks from a linked font. Wine's own fonts have
    # no CJK glyphs and no shaped Arabic forms, so link the dialog font to the Debian fonts that
    # have them (fonts-wqy-microhei, fonts-dejavu-core). Wine looks no further than the first
    # linked font that it can use, so the Arabic font hangs off the CJK one.
    system_link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    cjk='wqy-microhei.ttc,WenQuanYi Micro Hei'
    arabic='DejaVuSans.ttf,DejaVu Sans'
    for face in Tahoma 'Microsoft Sans Serif'; do
      wine reg add "$system_link" /v "$face" /t REG_MULTI_SZ /d "$cjk\0$arabic" /f >/dev/null 2>&1 </dev/null
    done
    wine reg add "$system_link" /v 'WenQuanYi Micro Hei' /t REG_MULTI_SZ /d "$arabic" /f >/dev/null 2>&1 </dev/null
    wineserver -w
    # Wine links the profile's desktop and document folders to the host's home folder. The tests
    # make and scan files there, so the prefix gets folders of its own instead.
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
      if [ -L "$link" ]; then
        rm "$link"
        mkdir "$link"
      fi
    done
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-prefix: wineboot did not create $WINEPREFIX" >&2; exit 1; }
    echo "$layout" >"$WINEPREFIX/.quillet-ready"
    ;;
  remove)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
    ;;
  *) echo "usage: wine-prefix.sh ensure|remove" >&2; exit 2 ;;
esac
