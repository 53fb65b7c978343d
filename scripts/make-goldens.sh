#!/usr/bin/env bash
# Draws every golden picture again with the given vek1-cli, into docs/export: run by
# `make goldens`, on purpose, when a drawing is meant to change. The list of pictures and the
# arguments that draw them is docs/export/goldens.txt, which the goldens test reads too.
set -euo pipefail
cli="$1"
dir="$(cd "$(dirname "$0")/.." && pwd)/docs/export"
while read -r name args; do
  case "$name" in ''|'#'*) continue ;; esac
  # shellcheck disable=SC2086  # the arguments are words of the list
  "$cli" $args --out "$dir/$name"
  echo "goldens: $name"
done < "$dir/goldens.txt"
