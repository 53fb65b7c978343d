#!/usr/bin/env bash
# vek1-cli render as a script on a machine without a display runs it: no X server, no Qt
# platform chosen. A picture is written; a picture that cannot be written exits with 4.
set -u
cli="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail=0
for picture in main sine; do
  for format in png svg pdf; do
    if ! "$cli" render "$picture" --out "$dir/$picture.$format" 2>"$dir/err"; then
      echo "render $picture to $format failed: $(cat "$dir/err")"; fail=1
    elif [ ! -s "$dir/$picture.$format" ]; then
      echo "render $picture to $format wrote nothing"; fail=1
    fi
  done
done
"$cli" render oval --out "$dir/missing/oval.svg" 2>/dev/null
code=$?
if [ "$code" -ne 4 ]; then echo "a failed write exited with $code, not 4"; fail=1; fi
if [ "$fail" -eq 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
exit "$fail"
