#!/usr/bin/env bash
# Installs the Debian packages listed in debian-packages.txt (as root; a no-op when all are there).
# Those named NAME:i386 (32-bit wine, for the 32-bit Windows build's tests) need that architecture.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  force_update=1
fi
mapfile -t wanted < <(grep -vE '^\s*(#|$)' "$here/debian-packages.txt")
missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${force_update:-}" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  [ ${#missing[@]} -eq 0 ] || apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
