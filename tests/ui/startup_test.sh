#!/usr/bin/env bash
# Starts the real program in a copy of its program folder on a private X
# server: the splash comes first, the main window "Leafmill 1.60" about 1.8 s
# later; its close button ends the program with BookName saved in main.ini.
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

started=$(now_ms)
"$work/Leafmill/leafmill" >"$work/leafmill.log" 2>&1 &
app_pid=$!

# The splash has no title; it is the visible 212 x 356 window.
splash_seen=""
for _ in $(seq 400); do
  for id in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
    if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 212x356'; then splash_seen=$id; break 2; fi
  done
  sleep 0.05
done
[ -n "$splash_seen" ] || fail "no splash window appeared"
splash_at=$(now_ms)
echo "splash after $((splash_at - started)) ms"
if xdotool search --onlyvisible --name '^Leafmill 1.60$' >/dev/null 2>&1; then
  fail "the main window showed together with the splash"
fi

main_id=$(wait_for_window 'Leafmill 1.60' 300) || fail "the main window did not appear"
main_at=$(now_ms)
delay=$((main_at - splash_at))
echo "main window $delay ms after the splash"
[ "$delay" -ge 1500 ] || fail "the main window came after $delay ms, before its time"
[ "$delay" -le 30000 ] || fail "the main window came after $delay ms"
if xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | grep -qx "$splash_seen"; then
  fail "the splash is still shown"
fi

# The close button sits at 362,4 (16 x 16) in the window.
eval "$(xdotool getwindowgeometry --shell "$main_id")"
xdotool mousemove $((X + 370)) $((Y + 12))
sleep 0.3
xdotool mousedown 1
sleep 0.1
xdotool mouseup 1
for _ in $(seq 300); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the close button did not end the program"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "leafmill ended with status $status"
[ "$(ini_book)" = "BookName=Startup Book" ] || fail "main.ini holds '$(ini_book)' after the exit"

# A language file that is gone: another one is used, and the main window
# says so in a message box once it is up.
sed -i 's/^MyLagIndex=.*/MyLagIndex=Vanished/' "$work/Leafmill/main.ini"
"$work/Leafmill/leafmill" >"$work/fallback.log" 2>&1 &
app_pid=$!
main_id=$(wait_for_window 'Leafmill 1.60' 300) || fail "no main window with a vanished language file"
notice=$(wait_for_window 'Leafmill' 300) || fail "no notice about the vanished language file"
xdotool windowactivate --sync "$notice" key Return 2>/dev/null || xdotool key Return
kill "$app_pid" 2>/dev/null
wait "$app_pid" 2>/dev/null
app_pid=""

# Without main.ini start-up says why and ends with status 1.
rm "$work/Leafmill/main.ini"
"$work/Leafmill/leafmill" >"$work/missing.log" 2>&1 &
app_pid=$!
box=$(wait_for_window 'Leafmill' 300) || fail "no message about the missing main.ini"
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
for _ in $(seq 300); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after the message"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 1 ] || fail "a missing main.ini ended with status $status, not 1"
grep -q 'main.ini' "$work/missing.log" || fail "the reason does not name main.ini: $(cat "$work/missing.log")"

echo "PASS"
