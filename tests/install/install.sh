#!/usr/bin/env bash
# The installer and the portable zip under Wine, in a prefix of their own (build/wineprefix-install) so the
# installer's registry changes never reach the other tests' prefix:
#   the zip holds the three files; the programs carry the version block of the build's version;
#   a silent install for all users puts the files, the Start menu shortcut, the uninstall entry and the
#   .klv association in place; the installed scanner writes a data file, and opening that file through the
#   association (wine start) starts Kelvaran with it; a silent uninstall removes all of it and keeps the
#   user's settings;
#   a silent install for the current user only, then a silent uninstall with /REMOVESETTINGS, which also
#   removes the settings and leaves an extension that another program took over since.
# Usage: install.sh <KelvaranSetup.exe> <Kelvaran.zip> <folder of the three files> <gui_driver.exe>
#                   <build folder> <artifacts folder> <version>
set -uo pipefail
installer=$(realpath "$1") zip=$(realpath "$2") files=$(realpath "$3") driver=$(realpath "$4")
build=$(realpath "$5") artifacts=$(realpath -m "$6") version=$7
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xvfb.sh" || exit 1
mkdir -p "$artifacts"
export WINEPREFIX="$build/wineprefix-install" WINEDEBUG=-all
# No Mono/Gecko prompts, and no menu entries or file types written into the host's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
work=$(mktemp -d /tmp/kelvaran-install.XXXXXX)
cleanup() { wineserver -k >/dev/null 2>&1; rm -rf "$work"; xvfb_stop; }
trap cleanup EXIT
failures=0
ok() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then ok "$what"; else fail "$what"; fi; }

# Registry value (default value with "") as `reg query` prints it; empty when the key or value is missing.
regval() {
  local key=$1 name=$2 line
  if [ -z "$name" ]; then line=$(wine reg query "$key" /ve 2>/dev/null | tr -d '\r' | grep -m1 '(Default)')
  else line=$(wine reg query "$key" /v "$name" 2>/dev/null | tr -d '\r' | grep -m1 "^ *$name ")
  fi
  sed -E 's/^ *[^ ]+( [^ ]+)? +REG_[A-Z_]+ +//; s/^ *\(Default\) +REG_[A-Z_]+ +//' <<<"$line"
}
regkey_exists() { wine reg query "$1" >/dev/null 2>&1; }
same_file() { cmp -s "$1" "$2"; }

# 1. The zip: one folder named after the version, holding exactly the three files of the build.
python3 - "$zip" "$files" "$version" <<'PY' && ok "zip: Kelvaran-$version/ with Kelvaran.exe, Kelvaran.chm, kelvaran-scan.exe as built" || fail "zip contents"
import sys, zipfile, os
path, files, version = sys.argv[1:]
names = sorted(n for n in zipfile.ZipFile(path).namelist() if not n.endswith("/"))
want = sorted(f"Kelvaran-{version}/{n}" for n in ("Kelvaran.exe", "Kelvaran.chm", "kelvaran-scan.exe"))
assert names == want, names
for name in want:
    assert zipfile.ZipFile(path).read(name) == open(os.path.join(files, name.split("/")[1]), "rb").read(), name
PY
check "installer named KelvaranSetup-$version.exe" [ "$(basename "$installer")" = "KelvaranSetup-$version.exe" ]
quad="${version}.0.0"; quad=$(cut -d. -f1-4 <<<"$quad")
for program in Kelvaran.exe kelvaran-scan.exe; do
  info=$(python3 "$here/pe_version.py" "$files/$program")
  grep -qx "fixed $quad" <<<"$info" && grep -qx "FileVersion $version" <<<"$info" && grep -qx "ProductVersion $version" <<<"$info" \
    && ok "$program: version block $version ($quad)" || fail "$program: version block: $(tr '\n' ';' <<<"$info")"
done

# A prefix of our own; one left with an installation by an interrupted run is made anew.
if [ -d "$WINEPREFIX/drive_c/Program Files/Kelvaran" ] || compgen -G "$WINEPREFIX/drive_c/users/*/AppData/Local/Programs/Kelvaran" >/dev/null; then
  rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
wineserver -p >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

# Waits (at most a minute) until the uninstaller, which runs from a copy of itself, has ended.
wait_uninstaller() {
  for _ in $(seq 600); do
    pgrep -f 'Un_A\.exe|Au_\.exe|~nsu' >/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# 2. For all users.
programs="$WINEPREFIX/drive_c/Program Files/Kelvaran"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvaran.lnk"
open_command='"C:\Program Files\Kelvaran\Kelvaran.exe" "%1"'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaran'
wine "$installer" /S; rc=$?
check "silent install for all users: exit status 0 (got $rc)" [ $rc -eq 0 ]
for program in Kelvaran.exe Kelvaran.chm kelvaran-scan.exe; do
  check "installed $programs/$program as built" same_file "$files/$program" "$programs/$program"
done
check "uninstaller installed" [ -f "$programs/Uninstall.exe" ]
check "Start menu shortcut to Kelvaran.exe" python3 -c '
import sys; data = open(sys.argv[1], "rb").read()
target = "C:\\Program Files\\Kelvaran\\Kelvaran.exe"
sys.exit(0 if target.encode("utf-16-le") in data or target.encode() in data else 1)' "$shortcut"
check ".klv names Kelvaran.DataFile" [ "$(regval 'HKCR\.klv' '')" = "Kelvaran.DataFile" ]
check "open command $open_command" [ "$(regval 'HKCR\Kelvaran.DataFile\shell\open\command' '')" = "$open_command" ]
check "icon of .klv files: the program's" [ "$(regval 'HKCR\Kelvaran.DataFile\DefaultIcon' '')" = 'C:\Program Files\Kelvaran\Kelvaran.exe,0' ]
check "installed programs list: Kelvaran $version" [ "$(regval "$uninstall_key" DisplayVersion)" = "$version" ]
check "installed programs list: uninstall command" [ "$(regval "$uninstall_key" UninstallString)" = '"C:\Program Files\Kelvaran\Uninstall.exe"' ]
check "installed programs list: quiet uninstall command" [ "$(regval "$uninstall_key" QuietUninstallString)" = '"C:\Program Files\Kelvaran\Uninstall.exe" /S' ]

# The installed scanner writes a data file; the association opens it in Kelvaran.
mkdir -p "$work/tree/Photos" "$work/tree/Music"
head -c 300000 /dev/zero >"$work/tree/Photos/a.jpg"
head -c 120000 /dev/zero >"$work/tree/Music/b.ogg"
tree_win="Z:${work//\//\\}\\tree"
scan_out=$(wine "C:\\Program Files\\Kelvaran\\kelvaran-scan.exe" "$tree_win" "Z:${work//\//\\}\\scan.klv" 2>&1 | tr -d '\r' | grep -v '^wine: ')
check "installed kelvaran-scan.exe wrote scan.klv ($scan_out)" [ -s "$work/scan.klv" ]
check "installed kelvaran-scan.exe --version: kelvaran-scan $version" \
  [ "$(wine "C:\\Program Files\\Kelvaran\\kelvaran-scan.exe" --version 2>/dev/null | tr -d '\r')" = "kelvaran-scan $version" ]
wine start /unix "$work/scan.klv" >/dev/null 2>&1
if wine "$driver" wait 60000 >"$work/driver.log" 2>&1; then
  ok "wine start scan.klv: Kelvaran's main window opens"
  cmdline=$(wine "$driver" probe cmdline 2>/dev/null | tr -d '\r')
  check "Kelvaran started as the association says ($cmdline)" \
    grep -qiF '\Kelvaran\Kelvaran.exe" "Z:'"${work//\//\\}"'\scan.klv"' <<<"$cmdline"
  sleep 2  # the import, then the first paint
  import -window root "$artifacts/association-open.png" && ok "screenshot $artifacts/association-open.png"
  tree=$(wine "$driver" probe tree 2>/dev/null | tr -d '\r')
  check "the folder tree shows the imported root $tree_win (got $tree)" [ "$tree" = "$tree_win" ]
  wine "$driver" close >"$work/driver.log" 2>&1 || { fail "Kelvaran did not close: $(tr -d '\r' <"$work/driver.log")"; }
else
  fail "wine start scan.klv: no main window ($(tr -d '\r' <"$work/driver.log"))"
fi

wine reg add 'HKCU\Software\Tervanic\Kelvaran' /v ShipCheck /d kept /f >/dev/null 2>&1
wine "C:\\Program Files\\Kelvaran\\Uninstall.exe" /S >/dev/null 2>&1
wait_uninstaller || fail "the uninstaller did not end within a minute"
check "silent uninstall: program folder gone" [ ! -e "$programs" ]
check "silent uninstall: shortcut gone" [ ! -e "$shortcut" ]
check "silent uninstall: .klv association gone" bash -c "! wine reg query 'HKCR\.klv' >/dev/null 2>&1"
check "silent uninstall: program identifier gone" bash -c "! wine reg query 'HKCR\Kelvaran.DataFile' >/dev/null 2>&1"
check "silent uninstall: installed programs entry gone" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
check "silent uninstall: the user's settings kept" [ "$(regval 'HKCU\Software\Tervanic\Kelvaran' ShipCheck)" = kept ]

# 3. For the current user only; the extension is taken over by another program before the uninstall.
wine "$installer" /S /CurrentUser; rc=$?
check "silent install for the current user: exit status 0 (got $rc)" [ $rc -eq 0 ]
local_programs=$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
user_programs=$(winepath -u "$local_programs\\Programs\\Kelvaran" 2>/dev/null)
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaran'
check "installed for the user in $local_programs\\Programs\\Kelvaran" same_file "$files/Kelvaran.exe" "$user_programs/Kelvaran.exe"
check "nothing under Program Files" [ ! -e "$programs" ]
check "the user's association: open command" \
  [ "$(regval 'HKCU\Software\Classes\Kelvaran.DataFile\shell\open\command' '')" = "\"$local_programs\\Programs\\Kelvaran\\Kelvaran.exe\" \"%1\"" ]
check "the user's installed programs entry" [ "$(regval "$user_key" DisplayVersion)" = "$version" ]
check "no machine-wide entry" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
wine reg add 'HKCU\Software\Classes\.klv' /ve /d Other.Viewer /f >/dev/null 2>&1
wine "$local_programs\\Programs\\Kelvaran\\Uninstall.exe" /S /REMOVESETTINGS >/dev/null 2>&1
wait_uninstaller || fail "the uninstaller did not end within a minute"
check "uninstall for the user: program folder gone" [ ! -e "$user_programs" ]
check "uninstall for the user: installed programs entry gone" bash -c "! wine reg query '$user_key' >/dev/null 2>&1"
check "uninstall for the user: program identifier gone" bash -c "! wine reg query 'HKCU\Software\Classes\Kelvaran.DataFile' >/dev/null 2>&1"
check "an extension taken over since stays the other program's" [ "$(regval 'HKCU\Software\Classes\.klv' '')" = Other.Viewer ]
check "/REMOVESETTINGS: the user's settings removed" bash -c "! wine reg query 'HKCU\Software\Tervanic' >/dev/null 2>&1"

echo "$failures failed"
[ $failures -eq 0 ]
