#!/usr/bin/env bash
# End to end: the real program under Xvfb meters a dial-up link of about a minute inside a
# network namespace of this test's own, logs the connection, and keeps its cost and traffic
# through a SIGTERM. Exit 77 (skipped) where namespaces cannot be made.
set -euo pipefail
bin=$1   # the folder of the built program and libzevlink
peer=$2  # the far end of the link
seconds=${3:-57}
extra=${4:-}  # more of Config.ini, with \r\n escapes

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; echo "--- log"; iconv -f CP1251 -t UTF-8 "$prog/logfile.log" 2>/dev/null || true; echo "--- stats"; cat "$prog"/stats/*.ini 2>/dev/null || true; echo "--- program"; cat "$work/kestrova.out" 2>/dev/null || true; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "needs root to create a network namespace"
command -v xvfb-run >/dev/null || skip "xvfb-run is not installed"
[ -c /dev/net/tun ] || skip "no /dev/net/tun"
ns="kestrova-e2e-$$"
ip netns add "$ns" 2>/dev/null || skip "cannot create a network namespace"

work=$(mktemp -d)
prog="$work/prog"
kestrova_pid=""
cleanup() {
    [ -n "$kestrova_pid" ] && kill -KILL "$kestrova_pid" 2>/dev/null || true
    [ -n "${runner:-}" ] && kill "$runner" 2>/dev/null || true
    ip netns pids "$ns" 2>/dev/null | xargs -r kill -KILL 2>/dev/null || true
    ip netns del "$ns" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$prog/stats" "$work/run"
chmod 700 "$work/run"
cp "$bin/kestrova" "$prog/"
cp -P "$bin"/libzevlink.so* "$prog/"
printf '[General]\r\nStatus=1\r\nLog=1\r\nLogFile=%s\r\n%b' "$prog/logfile.log" "$extra" > "$prog/Config.ini"

in_ns() { ip netns exec "$ns" "$@"; }
in_ns ip link set lo up
# Nothing but the test's own packets on the link: no IPv6 chatter.
in_ns sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1

in_ns env XDG_RUNTIME_DIR="$work/run" LANG=C.UTF-8 LC_ALL=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1024x768x24" "$prog/kestrova" > "$work/kestrova.out" 2>&1 &
runner=$!
for _ in $(seq 50); do
    kestrova_pid=$(pgrep -f "^$prog/kestrova" || true)
    [ -n "$kestrova_pid" ] && break
    sleep 0.2
done
[ -n "$kestrova_pid" ] || fail "the program did not start"
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

read -r rx tx < "$work/counters"
value() { tr -d '\r' < "$stats" | sed -n "s/^$1=//p"; }
[ "$(value TotalTraficIn)" = "$rx" ] || fail "TotalTraficIn $(value TotalTraficIn), the kernel counted $rx"
[ "$(value TotalTraficOut)" = "$tx" ] || fail "TotalTraficOut $(value TotalTraficOut), the kernel counted $tx"
expected_cost=$(( session_seconds / 60 ))
awk -v c="$(value Cost | tr , .)" -v e="$expected_cost" 'BEGIN { exit !(c == e) }' ||
    fail "Cost $(value Cost), expected $expected_cost"
echo "PASS: $session_seconds s, $rx bytes in, $tx bytes out, cost $(value Cost)"
