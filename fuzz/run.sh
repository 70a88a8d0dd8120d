#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for a bounded time, starting from the
# transcripts' inputs and its own seeds in fuzz/corpus/<target>/ (both left unchanged: new
# inputs go to build-fuzz/).
# Fails if any target finds a crash, a sanitizer report or an input that runs too long.
#
# fuzz/run.sh [seconds per target, default 60]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}

cmake --preset fuzz && cmake --build --preset fuzz -j2 || exit 1

# `b` early in a game is a whole exhaustive search, slow under the sanitizers: an input
# may take many seconds without hanging, so the timeout is generous and inputs short.
input_timeout=300
# Absolute paths: a target runs each input in a folder of its own.
work=$root/build-fuzz/fuzz-run
rm -rf "$work"
failed=()
targets=(dictionary seeker scribe reader why)
for target in "${targets[@]}"; do
  # Seeds: the transcripts' inputs (the dictionaries of reader's, for the parser), copied
  # here so that the test files stay the one copy, and the target's own in fuzz/corpus/.
  seeds=$work/$target/seeds
  mkdir -p "$seeds"
  case $target in
    dictionary)
      max_len=4096
      cp "$root"/tests/transcripts/reader/*.dic "$seeds"/
      ;;
    *)
      max_len=256
      cp "$root"/tests/transcripts/"$target"/*.in "$seeds"/
      ;;
  esac
  own_seeds=()
  [[ -d $root/fuzz/corpus/$target ]] && own_seeds=("$root/fuzz/corpus/$target")
  corpus=$work/$target/corpus
  findings=$work/$target/findings
  mkdir -p "$corpus" "$findings"
  echo "== ${target}_fuzz: ${seconds} s"
  if ! "$root/build-fuzz/bin/${target}_fuzz" -max_total_time="$seconds" -max_len="$max_len" \
      -timeout="$input_timeout" -print_final_stats=1 -artifact_prefix="$findings/" \
      "$corpus" "$seeds" "${own_seeds[@]}" 2> "$work/$target/log"; then
    failed+=("$target")
    tail -n 60 "$work/$target/log"
    ls -l "$findings"
  fi
  grep -E '^(stat::number_of_executed_units|#[0-9]+ +DONE)' "$work/$target/log" || true
  echo "new corpus inputs: $(find "$corpus" -type f | wc -l)"
done

echo "fuzz: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
if ((${#failed[@]})); then
  echo "findings in ${failed[*]}: inputs in $work/<target>/findings/" >&2
  exit 1
fi
