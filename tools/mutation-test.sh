#!/usr/bin/env bash
# mutation-test.sh -- how many deliberate faults the tests catch
#
#   tools/mutation-test.sh [MUTANT.patch...]   (default: every tests/mutants/*.patch)
#
# Each mutant is one small patch against the tree: a slip a maintainer could really make. One at a
# time it is applied to a scratch copy of the working tree (build/mutation/src), which is built
# with the asan preset, and the tests that the fault's folder needs are run; then the patch is taken
# back. A mutant is caught when a test fails (or the build does), and survives when every test
# passes. A line "# tests: REGEX" in a mutant names its tests itself (a ctest -R expression).
# Prints one line per mutant and the score. Not part of CI: a whole run takes tens of minutes.
set -uo pipefail
cd "$(dirname "$0")/.."
top=$PWD
scratch=$top/build/mutation
mutants=("$@")
[ ${#mutants[@]} -gt 0 ] || mutants=(tests/mutants/*.patch)

# The tests each folder's faults need: those that run its code, quickest first.
unit='ips_apply|normalize_target|checksums|stages|title_catalogue'
whole='scenarios.terminal|command_line|stream_faults|safe_save'
tests_for() {
  case $1 in
    ips/* | prepare/* | identify/*) echo "$unit|scenarios.terminal" ;;
    archive/*) echo "archive|$whole" ;;
    workflow/*) echo "$unit|$whole" ;;
    app/*) echo "$whole|gtk_scenarios" ;;
    host/*) echo "$whole|save_whole_file" ;;
    platform/platform_terminal*) echo "scenarios.terminal|command_line" ;;
    platform/platform_gtk* | platform/platform_desktop*) echo "desktop_module|gtk_scenarios" ;;
    *) echo "." ;;
  esac
}

rm -rf "$scratch/src"
mkdir -p "$scratch/src"
git ls-files -co --exclude-standard -z | tar -c --null -T - | tar -x -C "$scratch/src"
cmake -S "$scratch/src" -B "$scratch/asan" --preset asan >/dev/null
cmake --build "$scratch/asan" -j2 >/dev/null || { echo "the unchanged tree does not build"; exit 1; }

caught=0 total=0
for mutant in "${mutants[@]}"; do
  name=$(basename "$mutant" .patch)
  file=$(grep -m1 '^+++ ' "$mutant" | sed 's|^+++ b/||; s|\t.*||')
  regex=$(sed -n 's/^# tests: //p' "$mutant")
  [ -n "$regex" ] || regex=$(tests_for "$file")
  total=$((total + 1))
  if ! patch -s -p1 -d "$scratch/src" <"$mutant"; then
    echo "$name: does not apply"
    continue
  fi
  if ! cmake --build "$scratch/asan" -j2 >/dev/null 2>&1; then
    verdict="caught by the build"
  else
    failed=$(cd "$scratch/asan" && ASAN_OPTIONS=detect_leaks=1 timeout 900 ctest -R "$regex" -j2 2>&1 |
             sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*(\(Failed\|Timeout\|Subprocess aborted\|SEGFAULT\|Exception\)).*/\1/p' |
             paste -sd, -)
    verdict=${failed:+caught by $failed}
    verdict=${verdict:-survived}
  fi
  patch -s -R -p1 -d "$scratch/src" <"$mutant"
  [ "$verdict" = survived ] || caught=$((caught + 1))
  echo "$name ($file): $verdict"
done
cmake --build "$scratch/asan" -j2 >/dev/null 2>&1 # leave the scratch build as the tree is
echo "mutation score: $caught of $total caught ($((total ? 100 * caught / total : 0))%)"
