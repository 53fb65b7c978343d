#!/usr/bin/env bash
# Runs every fuzz target for a given time: scripts/run-fuzz.sh BUILD_DIR SECONDS [SEED]
# SEED 0 (the default) lets the fuzzer pick a new one; another fixes the run's mutations, which is
# what CI wants: a change that breaks a target fails every time, not one run in ten.
# The corpus of each target grows in BUILD_DIR/fuzz-corpus/<target> from run to run, seeded by the
# inputs fuzz_seeds writes; a crash, leak or sanitizer report is written to BUILD_DIR/fuzz-artifacts
# and fails the run. Prints each target's executions and coverage.
set -euo pipefail
build=${1:?build dir}
seconds=${2:-60}
seed=${3:-0}
here=$(cd "$(dirname "$0")/.." && pwd)
bin="$build/bin"
seeds="$build/fuzz-seeds"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
rm -rf "$seeds"
"$bin/fuzz_seeds" "$seeds"

# Leaks are looked for after every input; a report stops the run with the input that caused it.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
summary=()
for target in dimension_file dos_file cli_args; do
  dict="$here/fuzz/floats.dict"
  [ "$target" = cli_args ] && dict="$here/fuzz/cli.dict"
  corpus="$build/fuzz-corpus/$target"
  mkdir -p "$corpus"
  log="$build/fuzz-$target.log"
  echo "fuzz_$target: ${seconds} s"
  # No standard input is read; the fuzzer's own forking is not used, one process per target.
  if "$bin/fuzz_$target" -max_total_time="$seconds" -seed="$seed" -timeout=10 -rss_limit_mb=2048 \
      -dict="$dict" -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
      "$corpus" "$seeds/$target" </dev/null >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    grep -E "ERROR|runtime error|not finite|SUMMARY|Test unit written" "$log" | head -20 || true
  fi
  done_line=$(grep -E "^#[0-9]+[[:space:]]+DONE" "$log" | tail -1 || true)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  cov=$(sed -n 's/.*DONE *cov: \([0-9]*\) ft: \([0-9]*\) corp: \([^ ]*\).*/cov \1, features \2, corpus \3/p' <<<"$done_line")
  summary+=("fuzz_$target: $result, ${execs:-?} executions, ${cov:-no coverage line} (log $log)")
done
printf '%s\n' "${summary[@]}"
exit $status
