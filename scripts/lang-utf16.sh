#!/bin/sh
# Makes the language file the program ships: UTF-16LE with a byte-order mark and CR LF line
# ends, so that it shows its own script on any system whatever the system code page. A checkout
# already holds lang/ in that form and is copied as it is; a UTF-8 file (an export of the
# repository without its attributes, or a translator's draft) is converted, and fails on text
# that is not valid UTF-8.
set -eu
in="$1"
out="$2"
if [ "$(head -c 2 "$in" | od -An -tx1 | tr -d ' \n')" = "fffe" ]; then
  cp "$in" "$out.tmp"
else
  {
    printf '\377\376'
    sed 's/\r$//; s/$/\r/' "$in" | iconv -f UTF-8 -t UTF-16LE
  } > "$out.tmp"
fi
mv "$out.tmp" "$out"
