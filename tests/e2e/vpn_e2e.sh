#!/usr/bin/env bash
# End to end: during a dial-up session metered per megabyte by the real program, a VPN tunnel
# (a plain TUN device, point-to-point, with traffic of its own) comes up and goes down. The
# month's traffic must be exactly what the kernel counted on the dial-up link, and its cost
# that traffic's price by the rate table, at the session's end and again after a SIGTERM.
# Exit 77 (skipped) where namespaces cannot be made.
set -euo pipefail
bin=$1   # the folder of the built program and libzevlink
peer=$2  # the far end of the links
seconds=${3:-30}
source "$(dirname "$0")/e2e_namespace.sh"

rate=2.5
write_rate_table "2,5"
printf '[General]\r\nStatus=1\r\nLog=1\r\nLogFile=%s\r\nTrafType=0\r\nTable=%s\r\n[Count]\r\nEdn=1\r\n' \
    "$prog/logfile.log" "$prog/rates.kvtl" > "$prog/Config.ini"

start_program
sleep 2  # a few offline ticks first

in_ns "$peer" "$seconds" "$work/modem" &
modem=$!
background+=($modem)
sleep 6
vpn_up=$(date +%T)
in_ns "$peer" --vpn 10 "$work/vpn" || fail "the VPN peer failed"
vpn_down=$(date +%T)
wait "$modem" || fail "the modem peer failed"
sleep 3  # the first offline tick ends the session

read -r rx tx < "$work/modem"
read -r vpn_rx vpn_tx < "$work/vpn"
echo "modem link: $rx bytes in, $tx bytes out; VPN $vpn_up-$vpn_down: $vpn_rx in, $vpn_tx out"
[ "$vpn_rx" -gt 0 ] && [ "$vpn_tx" -gt 0 ] || fail "no traffic on the VPN"

log=$(iconv -f CP1251 -t UTF-8 "$prog/logfile.log" | tr -d '\r') || fail "no log"
echo "$log"
[ "$(echo "$log" | grep -c '^Соединение начато: ')" -eq 1 ] || fail "one start line"
[ "$(echo "$log" | grep -c '^Соединение завершено: ')" -eq 1 ] || fail "one end line"

expected_cost=$(awk -v b="$rx" -v r="$rate" 'BEGIN { printf "%.9f", b / 1048576 * r }')
check_month() {
    local when=$1 in out cost
    in=$(stats_value TotalTraficIn)
    out=$(stats_value TotalTraficOut)
    cost=$(stats_value Cost | tr , .)
    echo "$when: TotalTraficIn=$in TotalTraficOut=$out Cost=$cost (expected $rx, $tx, $expected_cost)"
    [ "$in" = "$rx" ] || fail "$when: TotalTraficIn $in, the kernel counted $rx on the modem link"
    [ "$out" = "$tx" ] || fail "$when: TotalTraficOut $out, the kernel counted $tx on the modem link"
    awk -v c="$cost" -v e="$expected_cost" 'BEGIN { d = c - e; exit !(c != "" && d <= 1e-6 && d >= -1e-6) }' ||
        fail "$when: Cost $cost, the price of $rx bytes is $expected_cost"
}
check_month "after the session"

kill -TERM "$kestrova_pid"
for _ in $(seq 50); do
    kill -0 "$kestrova_pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$kestrova_pid" 2>/dev/null && fail "the program did not end on SIGTERM"
kestrova_pid=""
check_month "after SIGTERM"
echo "PASS"
