#!/usr/bin/env bash
# Starts the real program in a copy of its program folder on a private X
# server: the splash comes first, the main window "Leafmill 1.60" no sooner
# than 1.8 s after the start; its close button ends the program with BookName
# saved in main.ini. Every wait is for a condition, with a deadline generous
# enough for a loaded machine.
# A vanished language file is replaced by another with a notice; a main.ini
# that is missing stops start-up with a message and status 1.
set -uo pipefail

program_dir=${1:?usage: startup_test.sh <program folder>}
. "$(dirname "$0")/../../scripts/lib/xvfb.sh"
if [ ! -x "$program_dir/leafmill" ]; then
  echo "FAIL: no leafmill in $program_dir"
  exit 1
fi

work=$(mktemp -d)
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

xvfb_start || exit $?

now_ms() { date +%s%3N; }

cp -r "$program_dir" "$work/Leafmill"
sed -i 's/^BookName=.*/BookName=Startup Book/' "$work/Leafmill/main.ini"
ini_book() { grep -a '^BookName=' "$work/Leafmill/main.ini" | tr -d '\r'; }

# A person's Return or click can be lost while a loaded machine maps the
# window; each is given again until the program has ended.
ended() { ! kill -0 "$app_pid" 2>/dev/null; }
until_ended() {
  local deadline=$((SECONDS + 120))
  until ended; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    "$@"
    wait_until 5 ended && break
  done
  wait "$app_pid"
  status=$?
  app_pid=""
}
press_return() { xdotool windowactivate --sync "$1" key Return 2>/dev/null || xdotool key Return; }

started=$(now_ms)
"$work/Leafmill/leafmill" >"$work/leafmill.log" 2>&1 &
app_pid=$!

# The splash has no title; it is the visible 212 x 356 window.
splash_seen=""
splash_shown() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
    if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 212x356'; then splash_seen=$id; return 0; fi
  done
  return 1
}
wait_until 120 splash_shown || fail "no splash window appeared"
main_id=$(wait_for_window 'Leafmill 1.60') || fail "the main window did not appear"
# The splash stays 1.8 s, so however slow the machine, the main window cannot
# come sooner after the start.
delay=$(($(now_ms) - started))
echo "main window $delay ms after the start"
[ "$delay" -ge 1800 ] || fail "the main window came after $delay ms, before the splash's time"
splash_gone() { ! xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | grep -qx "$splash_seen"; }
wait_until 30 splash_gone || fail "the splash is still shown"

# The close button sits at 362,4 (16 x 16) in the window.
until_ended click_in "$main_id" 370 12 || fail "the close button did not end the program"
[ "$status" -eq 0 ] || fail "leafmill ended with status $status"
[ "$(ini_book)" = "BookName=Startup Book" ] || fail "main.ini holds '$(ini_book)' after the exit"

# A language file that is gone: another one is used, and the main window
# says so in a message box once it is up.
sed -i 's/^MyLagIndex=.*/MyLagIndex=Vanished/' "$work/Leafmill/main.ini"
"$work/Leafmill/leafmill" >"$work/fallback.log" 2>&1 &
app_pid=$!
wait_for_window 'Leafmill 1.60' >/dev/null || fail "no main window with a vanished language file"
notice=$(wait_for_window 'Leafmill') || fail "no notice about the vanished language file"
press_return "$notice"
kill "$app_pid" 2>/dev/null
wait "$app_pid" 2>/dev/null
app_pid=""

# Without main.ini start-up says why and ends with status 1.
rm "$work/Leafmill/main.ini"
"$work/Leafmill/leafmill" >"$work/missing.log" 2>&1 &
app_pid=$!
box=$(wait_for_window 'Leafmill') || fail "no message about the missing main.ini: $(cat "$work/missing.log")"
until_ended press_return "$box" || fail "the program did not end after the message"
[ "$status" -eq 1 ] || fail "a missing main.ini ended with status $status, not 1"
grep -q 'main.ini' "$work/missing.log" || fail "the reason does not name main.ini: $(cat "$work/missing.log")"

echo "PASS"
