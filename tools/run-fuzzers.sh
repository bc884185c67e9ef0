#!/usr/bin/env bash
# Runs every libFuzzer harness of the fuzz build, one after the other, from its seed corpus and with
# its dictionary, fuzz/<name>.dict, where it has one.
#   tools/run-fuzzers.sh [seconds per harness, default 60] [harness names...]
# New inputs go to build/fuzz/corpus/<name>/, never into the checked-in seeds. A finding stops the
# run with a failure and prints its reproducer; rerun it with build/fuzz/fuzz/fuzz_<name> <file>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
case $seconds in
  '' | *[!0-9]* | 0) echo "seconds per harness must be a whole number above 0, not '$seconds'" >&2; exit 2 ;;
esac
bin=build/fuzz/fuzz
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for program in "$bin"/fuzz_*; do
    name=$(basename "$program" | sed 's/^fuzz_//')
    # A harness since merged into another leaves its old program behind, but not its seeds.
    if [ -d "fuzz/corpus/$name" ]; then names+=("$name"); fi
  done
fi
[ ${#names[@]} -gt 0 ] || { echo "no harnesses in $bin: build the fuzz preset first" >&2; exit 1; }
# Absolute paths for the fuzzer: a harness runs the program inside a scratch folder, and a crash there
# writes its reproducer relative to the folder of that moment.
for name in "${names[@]}"; do
  work=$PWD/build/fuzz/corpus/$name
  findings=$PWD/build/fuzz/findings/$name
  rm -rf "$findings"
  mkdir -p "$work" "$findings"
  echo "== fuzz_$name for $seconds s"
  dict=()
  if [ -f "fuzz/$name.dict" ]; then dict=(-dict="$PWD/fuzz/$name.dict"); fi
  # -rss_limit_mb: the program's static buffers alone are 17 MiB; ASan triples what it touches.
  # -close_fd_mask: the program's own lines (reasons, the usage) would flood the log; the fuzzer's
  # and the sanitizers' reports still reach it.
  if ! "$bin/fuzz_$name" -max_total_time="$seconds" -rss_limit_mb=4096 -timeout=30 -close_fd_mask=3 \
      -print_final_stats=1 -artifact_prefix="$findings/" "${dict[@]}" "$work" "$PWD/fuzz/corpus/$name" \
      >"$findings/log" 2>&1; then
    tail -n 60 "$findings/log"
    for reproducer in "$findings"/crash-* "$findings"/leak-* "$findings"/timeout-* "$findings"/oom-*; do
      [ -e "$reproducer" ] || continue
      echo "reproducer $reproducer:"
      od -A x -t x1z -v "$reproducer" | head -n 64
    done
    echo "fuzz_$name found a fault" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$findings/log" || true
done
