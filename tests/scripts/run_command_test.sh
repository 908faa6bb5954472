#!/usr/bin/env bash
# The run command as a person starts it, offscreen, with the real program and board emulator in
# a build folder of their own and a cmake that only notes what it was asked to build:
# - it builds the program and the emulator, nothing else;
# - a first start, nothing saved, opens on the part in the emulated socket and asks nothing;
#   a part saved before is kept;
# - with a copy of the program running, it ends at once with the notice and starts no board.
# Usage: run_command_test.sh RUN_SCRIPT PROGRAM EMULATOR
set -euo pipefail
run_script=$(realpath "$1")
program=$(realpath "$2")
emulator=$(realpath "$3")
work=$(mktemp -d)
running=
cleanup() {
  if [[ -n "$running" ]]; then
    kill "$running" 2>/dev/null || true
    wait "$running" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Every dependency installed; cmake notes its arguments and builds nothing.
fake="$work/fake"
mkdir -p "$fake"
printf '#!/bin/sh\necho "install ok installed"\n' >"$fake/dpkg-query"
printf '#!/bin/sh\necho "$*" >>"$WORK/cmake.calls"\n' >"$fake/cmake"
# The build folder holds the real program and an emulator that notes each start.
build="$work/build"
mkdir -p "$build/bin"
ln -s "$program" "$build/bin/tavrin-writer"
cat >"$build/bin/tavrin-board-emu" <<EMU
#!/bin/sh
echo "\$*" >>"\$WORK/emulator.starts"
exec "$emulator" "\$@"
EMU
chmod +x "$fake"/* "$build/bin/tavrin-board-emu"

# A user of its own, nothing saved, no stand-ins from the caller's environment.
export WORK="$work" BUILD_DIR="$build" PATH="$fake:$PATH" QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export HOME="$work/home"
unset TAVRIN_DEFAULT_PORT TAVRIN_DEFAULT_PART TAVRIN_EMU_PART TAVRIN_STARTUP_MARKER
mkdir -m 0700 "$XDG_RUNTIME_DIR"
settings="$XDG_CONFIG_HOME/Tavrin Writer v4/Tavrin Writer v4.ini"

saved_part() {
  sed -n 's/^deviceNewName=//p' "$settings" 2>/dev/null
}

# One start through the run command, the program ending once its window is ready (it answers
# any modal window with Escape and names it on its output).
start() {
  rm -f "$work/cmake.calls" "$work/emulator.starts"
  TAVRIN_STARTUP_MARKER=1 timeout 120 "$run_script" >"$work/out" 2>"$work/err" ||
    fail "the run command failed: $(cat "$work/out" "$work/err")"
}

# Only the program and the emulator are built.
start
grep -q -- '--build' "$work/cmake.calls" || fail "nothing was built: $(cat "$work/cmake.calls")"
while read -r call; do
  [[ "$call" != --build* ]] && continue
  targets=$(sed -n 's/.*--target //p' <<<"$call")
  [[ "$targets" == "tavrin-writer tavrin-board-emu" ]] || fail "built more than it runs: $call"
done <"$work/cmake.calls"

# First starts with nothing saved open on the emulated part; a saved part stays.
while read -r emu_part saved expected; do
  rm -rf "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
  if [[ "$saved" != - ]]; then
    mkdir -p "$(dirname "$settings")"
    printf '[Settings6]\ndeviceNewName=%s\n' "$saved" >"$settings"
  fi
  if [[ "$emu_part" == - ]]; then unset TAVRIN_EMU_PART; else export TAVRIN_EMU_PART=$emu_part; fi
  start
  grep -qx 'tavrin-writer: ready' "$work/out" || fail "$emu_part: never ready: $(cat "$work/out")"
  if grep -q 'tavrin-writer: modal' "$work/out"; then
    fail "$emu_part: a first start asked something: $(cat "$work/out")"
  fi
  [[ "$(saved_part)" == "$expected" ]] ||
    fail "emulated $emu_part, saved $saved: opened on '$(saved_part)', not $expected"
  grep -qi "^--part $expected" "$work/emulator.starts" || [[ "$saved" != - ]] ||
    fail "the emulator was not started with $expected: $(cat "$work/emulator.starts")"
done <<'CASES'
- - PIC16F877A
pic12f683 - PIC12F683
PIC16F877A PIC18F452 PIC18F452
CASES
unset TAVRIN_EMU_PART

# A copy already runs (waiting in its port choice: no port saved, no stand-in): the run command
# ends at once, says so, and starts no emulator.
"$program" >/dev/null 2>&1 &
running=$!
lock="$XDG_RUNTIME_DIR/tavrin-writer.lock"
for _ in $(seq 200); do
  [[ "$(head -n 1 "$lock" 2>/dev/null)" == "$running" ]] && break
  sleep 0.05
done
[[ "$(head -n 1 "$lock" 2>/dev/null)" == "$running" ]] || fail "the first copy took no lock"
rm -f "$work/emulator.starts"
status=0
timeout 60 "$run_script" "$work/blink.hex" >"$work/out" 2>"$work/err" || status=$?
((status == 0)) || fail "the second start ended with status $status: $(cat "$work/err")"
grep -q 'はすでに起動しています' "$work/err" || fail "the second start said nothing: $(cat "$work/err")"
grep -q 'blink.hex は開いていません' "$work/err" || fail "the file not opened was not named"
[[ ! -e "$work/emulator.starts" ]] || fail "a board was started for a program that does not run"
kill -0 "$running" 2>/dev/null || fail "the running copy was disturbed"
[[ "$(head -n 1 "$lock")" == "$running" ]] || fail "the running copy lost its lock"
echo ok
