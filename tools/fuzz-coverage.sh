#!/usr/bin/env bash
# Replays the fuzz corpora through a clang source-coverage build of the harnesses, then prints the
# line and branch coverage of every core file (ips/, prepare/, identify/, archive/, workflow/ and
# host/) and the core lines that no input reached.
#   tools/fuzz-coverage.sh [corpus root...]   (default: fuzz/corpus, and build/fuzz/corpus if there)
# Each root holds one folder of inputs per harness, named as the harness. The build is not the fuzz
# build: no sanitizers, no optimisation, so that counts follow the source lines.
set -euo pipefail
cd "$(dirname "$0")/.."
roots=("$@")
if [ ${#roots[@]} -eq 0 ]; then
  roots=(fuzz/corpus)
  if [ -d build/fuzz/corpus ]; then roots+=(build/fuzz/corpus); fi
fi
build=build/fuzz/coverage
profiles=$build/profiles
# llvm-14 (Debian's package of that name) matches clang 14's profile format.
profdata=$(command -v llvm-profdata-14 || command -v llvm-profdata)
cov=$(command -v llvm-cov-14 || command -v llvm-cov)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping -fsanitize=fuzzer-no-link" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" \
  -DPATCHER_BUILD_TESTS=OFF -DPATCHER_BUILD_FUZZ=ON -DPATCHER_FAULT_INJECTION=ON >/dev/null
names=()
for source in fuzz/*_fuzz.cpp; do names+=("$(basename "$source" _fuzz.cpp)"); done
cmake --build "$build" -j "${PATCHER_JOBS:-2}" --target "${names[@]/#/fuzz_}" >/dev/null

rm -rf "$profiles"
mkdir -p "$profiles"
objects=()
for name in "${names[@]}"; do
  corpora=()
  for root in "${roots[@]}"; do
    if [ -d "$root/$name" ]; then corpora+=("$(cd "$root/$name" && pwd)"); fi
  done
  program=$PWD/$build/fuzz/fuzz_$name
  objects+=(-object "$program")
  [ ${#corpora[@]} -gt 0 ] || continue
  # -runs=0: every input once, nothing new; a run that fails still leaves its counts.
  LLVM_PROFILE_FILE="$PWD/$profiles/$name-%p.profraw" "$program" -runs=0 -rss_limit_mb=4096 \
    "${corpora[@]}" >"$profiles/$name.log" 2>&1 ||
    echo "fuzz_$name failed on its corpus: see $profiles/$name.log" >&2
  echo "fuzz_$name: $(grep -o 'Done [0-9]* runs' "$profiles/$name.log" || echo 'no runs')"
done
"$profdata" merge -sparse -o "$profiles/merged.profdata" "$profiles"/*.profraw

# The core: every file of those folders that the harnesses link, less the back ends and entries,
# and less the two tables whose only code is constexpr, run by the compiler and never by a program.
# The harnesses share inline code that llvm-cov finds in each program; its warning about that is
# dropped.
run_cov() { "$cov" "$1" -instr-profile="$profiles/merged.profdata" "${objects[@]:1}" "${@:2}" 2>&1 |
  grep -v 'functions have mismatched data'; }
mapfile -t core < <(run_cov report | grep -oE '^[^ ]*(ips|prepare|identify|archive|host|files|workflow)/[a-z0-9_]+\.cpp' |
  grep -vE '/(platform|main)_|/(crc32_tables|title_catalogue)\.cpp' |
  sed "s|^|$PWD/|; s|^$PWD/$PWD/|$PWD/|" | sort -u)
run_cov report -show-region-summary=false -show-instantiation-summary=false "${core[@]}"
echo "Core lines that no input reached:"
run_cov export -format=lcov "${core[@]}" |
  awk -v root="$PWD/" '/^SF:/ { file = substr($0, 4); sub(root, "", file); missed = "" }
    /^DA:/ { split(substr($0, 4), f, ","); if (f[2] == 0) missed = missed " " f[1] }
    /^end_of_record/ && missed != "" { print "  " file ":" missed }'
