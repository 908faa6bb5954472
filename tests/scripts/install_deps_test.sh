#!/usr/bin/env bash
# The installer against a scripted apt-get: it waits while another package manager holds the
# package lists' lock, and a failure of any other kind still ends it at once.
# Usage: install_deps_test.sh INSTALLER
set -euo pipefail
installer=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

fake="$work/bin"
mkdir -p "$fake"
# Nothing is installed.
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"
printf '#!/bin/sh\nexec "$@"\n' >"$fake/sudo"
printf '#!/bin/sh\necho "$*" >>"$WORK/sleeps"\n' >"$fake/sleep"
# apt-get: "update" fails as a held lock makes it fail LOCKED times, then as FAILURE says.
cat >"$fake/apt-get" <<'APT'
#!/bin/bash
echo "$*" >>"$WORK/calls"
if [[ " $* " == *" update "* ]]; then
  n=$(grep -c ' update' "$WORK/calls")
  if ((n <= LOCKED)); then
    echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 4242 (apt-get)" >&2
    exit 100
  fi
  if [[ -n "${FAILURE:-}" ]]; then
    echo "E: $FAILURE" >&2
    exit 100
  fi
fi
exit 0
APT
chmod +x "$fake"/*

run() {
  rm -f "$work/calls" "$work/sleeps"
  WORK="$work" PATH="$fake:$PATH" LOCKED=$1 FAILURE=${2:-} "$installer" run >"$work/out" 2>&1
}

# Held for a while: update is tried again until the lock is free, then the packages go in.
run 3 || fail "the installer gave up while the lock was held: $(cat "$work/out")"
[[ $(grep -c ' update' "$work/calls") == 4 ]] || fail "update was not tried again: $(cat "$work/calls")"
grep -q ' install .*qt6-base-dev' "$work/calls" || fail "nothing was installed: $(cat "$work/calls")"
[[ $(wc -l <"$work/sleeps") == 3 ]] || fail "it did not wait between the tries"

# Any other failure ends it at once, with apt-get's message.
if run 0 "Unable to locate package qt6-base-dev"; then fail "a failed update passed"; fi
[[ $(grep -c ' update' "$work/calls") == 1 ]] || fail "a failure that is no lock was tried again"
grep -q 'Unable to locate package' "$work/out" || fail "apt-get's message was not shown"
grep -q ' install ' "$work/calls" && fail "it installed after a failed update"

# A lock that is never released: it gives up in the end.
if run 1000; then fail "a lock held for ever passed"; fi
grep -q ' install ' "$work/calls" && fail "it installed while the lock was held"
echo ok
