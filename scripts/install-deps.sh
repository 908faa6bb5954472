#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing. Runs as root or with sudo.
# Usage: scripts/install-deps.sh [run|test]   (test adds the test oracles and the fuzz compiler)
# gputils is in both lists: its assembler is the one the assembler menu runs.
set -euo pipefail
want=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgtest-dev fonts-ipafont-gothic gputils)
if [[ "${1:-test}" == test ]]; then
  want+=(srecord clang libclang-rt-14-dev xvfb xauth imagemagick)
fi
missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
((${#missing[@]})) || exit 0
echo "installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get -q -o DPkg::Lock::Timeout=300 update
"${sudo[@]}" apt-get -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 install "${missing[@]}"
