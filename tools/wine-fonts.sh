#!/usr/bin/env bash
# Run once a Wine prefix exists (WINEPREFIX exported, its wineserver up): lets the fonts that Wine puts in
# place of the Windows ones the program asks for (Tahoma, MS Shell Dlg and Times New Roman all end up as
# DejaVu here) borrow the glyphs they lack from Debian's Noto CJK, so Chinese, Japanese and Korean names show
# in windows and screenshots rather than boxes. Wine draws a name from a font link only; it rewrites the
# links of the Windows names at every start, but keeps these, and each program reads them when it starts.
# Quick when the prefix has them already.
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX first}"
grep -q '^"Times New Roman"=str(7):"NotoSansCJK' "$WINEPREFIX/system.reg" 2>/dev/null && exit 0
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
# The pie's centre label asks for Times New Roman by name, and Wine looks its links up by that name.
for face in "DejaVu Sans" "DejaVu Serif" "Times New Roman"; do
  wine reg add "$key" /v "$face" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f >/dev/null 2>&1
done
