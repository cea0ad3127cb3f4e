#!/usr/bin/env bash
# Makes the installer and the portable zip with no language folder and with one holding two
# generated language files, unpacks both packages and compares what they hold, byte for byte,
# with what went in. Arguments: the cmake program, then the -D settings of the package target.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cmake=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
exe=""
version=""
for arg in "$@"; do
  case "$arg" in
    QUILLET_EXE=*) exe=${arg#QUILLET_EXE=} ;;
    QUILLET_VERSION=*) version=${arg#QUILLET_VERSION=} ;;
  esac
done

failures=0
fail() { echo "FAIL [$case]: $*" >&2; failures=$((failures + 1)); }
expect_same_listing() {  # what, expected (one per line), actual (one per line)
  if [ "$(sort <<<"$2")" != "$(sort <<<"$3")" ]; then
    fail "$1 holds"$'\n'"$3"$'\n'"expected"$'\n'"$2"
  fi
}

# A language file as translators ship them: UTF-16LE with a byte order mark, and a name with a space.
mkdir -p "$work/lang"
printf '\xff\xfe' >"$work/lang/Lan_Test Two.ini"
printf '[ResourceString]\r\nRES_Scan=Analyse\r\n' | iconv -f utf-8 -t utf-16le >>"$work/lang/Lan_Test Two.ini"
printf '[Form]\r\nCaption=x\r\n' >"$work/lang/Lan_Plain.ini"

for case in absent filled; do
  lang_dir=$work/lang
  [ "$case" = absent ] && lang_dir=$work/no-such-folder
  out=$work/out-$case
  mkdir -p "$out"
  "$cmake" "$@" -DQUILLET_LANG_DIR="$lang_dir" -DQUILLET_OUT_DIR="$out" \
    -P "$here/../../cmake/MakePackages.cmake" >"$out.log" 2>&1 || { cat "$out.log" >&2; fail "packaging failed"; continue; }
  msi=$out/Orvane-Quillet-$version.msi
  zip=$out/Orvane-Quillet-$version-portable.zip
  [ -f "$msi" ] || { fail "no $msi"; continue; }
  [ -f "$zip" ] || { fail "no $zip"; continue; }

  languages=""
  [ "$case" = filled ] && languages=$'Languages/Lan_Plain.ini\nLanguages/Lan_Test Two.ini'

  mkdir "$out/msi"
  msiextract -C "$out/msi" "$msi" >/dev/null
  installed="$out/msi/Program Files/Orvane Quillet"
  expect_same_listing "the installer" "$(printf 'quillet.exe\n%s' "$languages" | sed '/^$/d')" \
    "$(cd "$installed" && find . -type f | sed 's|^\./||')"

  mkdir "$out/zip"
  (cd "$out/zip" && "$cmake" -E tar xf "$zip")
  expect_same_listing "the zip" "$(printf 'quillet.exe\nREADME.txt\n%s' "$languages" | sed '/^$/d')" \
    "$(cd "$out/zip" && find . -type f | sed 's|^\./||')"
  [ -d "$out/zip/Languages" ] || fail "the zip has no Languages folder"

  for unpacked in "$installed" "$out/zip"; do
    cmp -s "$exe" "$unpacked/quillet.exe" || fail "$unpacked/quillet.exe differs from the built program"
    while IFS= read -r file; do
      [ -n "$file" ] || continue
      cmp -s "$work/lang/${file#Languages/}" "$unpacked/$file" || fail "$unpacked/$file differs from its source"
    done <<<"$languages"
  done
  grep -qF "Orvane Quillet $version (portable)"$'\r' "$out/zip/README.txt" || fail "README.txt lacks its title or CRLF lines"
  grep -q 'administrator rights' "$out/zip/README.txt" || fail "README.txt does not say it asks for administrator rights"
done

[ "$failures" -eq 0 ] && echo "check-packages: both cases passed"
exit $(( failures > 0 ))
