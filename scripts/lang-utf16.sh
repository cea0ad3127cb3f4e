#!/bin/sh
# Turns a language file kept in the repository as UTF-8 text into the file the program ships:
# UTF-16LE with a byte-order mark and CR LF line ends, so that it shows its own script on any
# system whatever the system code page. Fails on text that is not valid UTF-8.
set -eu
in="$1"
out="$2"
{
  printf '\377\376'
  sed 's/\r$//; s/$/\r/' "$in" | iconv -f UTF-8 -t UTF-16LE
} > "$out.tmp"
mv "$out.tmp" "$out"
