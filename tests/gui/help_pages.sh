#!/usr/bin/env bash
# The compiled help file holds every page listed in the project file, the contents and the index, and each
# page can be extracted with its title.  Usage: help_pages.sh <Kelvaran.chm> <help source folder>
set -uo pipefail
chm=$1 sources=$2
status=0
[ -s "$chm" ] || { echo "FAIL $chm is missing or empty"; exit 1; }
listing=$(enum_chmLib "$chm") || { echo "FAIL enum_chmLib could not read $chm"; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
extract_chmLib "$chm" "$out" >/dev/null || { echo "FAIL extract_chmLib failed"; exit 1; }
pages=$(sed -n '/^\[FILES\]/,$p' "$sources/Kelvaran.hhp" | tail -n +2 | tr -d '\r' | grep -v '^$')
for page in $pages toc.hhc index.hhk; do
  if ! grep -q "/$page\$" <<<"$listing"; then
    echo "FAIL $page is not in the help file"; status=1; continue
  fi
  if ! cmp -s "$out/$page" "$sources/$page"; then
    echo "FAIL $page differs from its source"; status=1; continue
  fi
  echo "ok   $page"
done
for topic in statdlg.htm setdlg.htm index.htm datafile.htm; do
  grep -q "value=\"$topic\"" "$out/toc.hhc" || { echo "FAIL $topic is not in the contents"; status=1; }
done
[ $status -eq 0 ] && echo "help file: $(wc -w <<<"$pages") pages present"
exit $status
