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

# apt-get waits for the dpkg lock itself (DPkg::Lock::Timeout) but not for the package lists'
# and archives' locks: while another apt-get holds one, it fails at once. Wait for those as long.
apt_get() {
  local tries=60 log status
  log=$(mktemp)
  while true; do
    status=0
    "${sudo[@]}" apt-get -q -o DPkg::Lock::Timeout=300 "$@" 2>&1 | tee "$log" || status=$?
    if ((status == 0)) || ! grep -q 'Could not get lock' "$log" || ((--tries == 0)); then
      rm -f "$log"
      return "$status"
    fi
    echo "waiting for another package manager to finish"
    sleep 5
  done
}
apt_get update
apt_get -y --no-install-recommends install "${missing[@]}"
