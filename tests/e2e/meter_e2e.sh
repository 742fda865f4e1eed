#!/usr/bin/env bash
# End to end: the real program under Xvfb meters a dial-up link of about a minute inside a
# network namespace of this test's own, logs the connection, and keeps its cost and traffic
# through a SIGTERM. Exit 77 (skipped) where namespaces cannot be made.
set -euo pipefail
bin=$1   # the folder of the built program and libzevlink
peer=$2  # the far end of the link
seconds=${3:-57}
extra=${4:-}  # more of Config.ini, with \r\n escapes

source "$(dirname "$0")/e2e_namespace.sh"

printf '[General]\r\nStatus=1\r\nLog=1\r\nLogFile=%s\r\n%b' "$prog/logfile.log" "$extra" > "$prog/Config.ini"

start_program
sleep 2  # a few offline ticks first

started=$(date +%s)
in_ns "$peer" "$seconds" "$work/counters" || fail "the link peer failed"
ended=$(date +%s)
sleep 3  # the first offline tick writes the end of the entry

month="$(date +%-m-%Y)"
stats="$prog/stats/$month.ini"
log=$(iconv -f CP1251 -t UTF-8 "$prog/logfile.log" | tr -d '\r') || fail "no log"
echo "$log"
[ "$(echo "$log" | grep -c '^Соединение начато: ')" -eq 1 ] || fail "one start line"
[ "$(echo "$log" | grep -c '^Соединение завершено: ')" -eq 1 ] || fail "one end line"
[ -z "$(echo "$log" | head -1)" ] || fail "the entry begins with an empty line"

# The start time logged is when the link came up.
logged_start=$(echo "$log" | grep '^Соединение начато: ' | awk '{print $NF}')
expected_start=$(date -d "@$started" +%H:%M:%S)
diff_start=$(( $(date -d "$logged_start" +%s) - $(date -d "$expected_start" +%s) ))
[ "${diff_start#-}" -le 2 ] || fail "start logged at $logged_start, link up at $expected_start"

# The session's time is the link's lifetime, to a tick or two.
session=$(echo "$log" | grep '^Время в сети: ' | awk '{print $4}')
session_seconds=$(( 10#${session:0:2} * 3600 + 10#${session:3:2} * 60 + 10#${session:6:2} ))
lifetime=$(( ended - started ))
[ $(( session_seconds - lifetime )) -le 2 ] && [ $(( lifetime - session_seconds )) -le 2 ] ||
    fail "session $session_seconds s for a link of $lifetime s"
grep -q "^Second=$session_seconds" <(tr -d '\r' < "$stats") || fail "Second is not $session_seconds"

kill -TERM "$kestrova_pid"
for _ in $(seq 50); do
    kill -0 "$kestrova_pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$kestrova_pid" 2>/dev/null && fail "the program did not end on SIGTERM"
kestrova_pid=""
# Built with the sanitizers, the program reports what they found on its output.
wait "$runner" || true
! grep -q -E "Sanitizer|runtime error:" "$work/kestrova.out" || fail "the sanitizers reported"

read -r rx tx < "$work/counters"
[ "$(stats_value TotalTraficIn)" = "$rx" ] || fail "TotalTraficIn $(stats_value TotalTraficIn), the kernel counted $rx"
[ "$(stats_value TotalTraficOut)" = "$tx" ] || fail "TotalTraficOut $(stats_value TotalTraficOut), the kernel counted $tx"
expected_cost=$(( session_seconds / 60 ))
awk -v c="$(stats_value Cost | tr , .)" -v e="$expected_cost" 'BEGIN { exit !(c == e) }' ||
    fail "Cost $(stats_value Cost), expected $expected_cost"
echo "PASS: $session_seconds s, $rx bytes in, $tx bytes out, cost $(stats_value Cost)"
