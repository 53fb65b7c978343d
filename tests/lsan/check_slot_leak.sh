#!/usr/bin/env bash
# Runs the deliberately leaking program under the project's leak suppressions and passes only when
# both of its leaks, the one from a slot and the one from an event handler, are reported.
# Usage: check_slot_leak.sh PROGRAM SUPPRESSIONS
set -uo pipefail
program=${1:?program}
supp=${2:?suppressions}
out=$(QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
      LSAN_OPTIONS=suppressions=$supp:print_suppressions=0 "$program" 2>&1)
status=0
for what in "detected memory leaks" LeakFromSlot LeakFromEventHandler; do
  if ! grep -q "$what" <<<"$out"; then
    echo "not reported: $what"
    status=1
  fi
done
[ $status -eq 0 ] && echo "both deliberate leaks were reported"
[ $status -eq 0 ] || printf '%s\n' "$out" | tail -40
exit $status
