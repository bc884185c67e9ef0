#!/usr/bin/env bash
# zip_test.sh -- the Windows ZIP holds patcher.exe, stripped and naming the licence's holder, a README
# for Windows users and the licence, both with CRLF line ends, and the examples: zip_test.sh ZIP
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
zip=$(realpath "$1")
(cd "$root" && cmake -E tar xf "$zip")
cd "$root"/patcher-*/
files=$(find . -type f | sort | tr '\n' ' ')
expected="./LICENSE.txt ./README.txt ./examples/demo-cartridge.bin ./examples/demo-english.ips ./patcher.exe "
[ "$files" = "$expected" ] || fail "the ZIP holds $files"
for text in README.txt LICENSE.txt; do
  ! grep -qv $'\r$' "$text" || fail "$text has a line without CRLF"
done
headers=$(x86_64-w64-mingw32-objdump --section-headers --syms patcher.exe)
[[ $headers != *" .debug"* ]] || fail "patcher.exe has debugging sections"
[[ $headers == *"no symbols"* ]] || fail "patcher.exe has a symbol table"
notice=$(grep -m 1 '^Copyright' LICENSE.txt | tr -d '\r')
grep -qxF "$notice" <<<"$(strings -el patcher.exe)" || fail "patcher.exe's LegalCopyright is not \"$notice\""
