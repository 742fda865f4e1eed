#!/usr/bin/env bash
# End to end: the real program meters a dial-up link with traffic per megabyte and is killed
# with SIGKILL at random moments, KILLS times (default 20), restarted after each; after every
# kill its files are whole and the month lags the truth by at most one second's worth (the
# driver's comment says how the truth is taken). SEED repeats a run; LONGEST_RUN_MS bounds the
# time from a run's first tick to its kill (default 4000). Exit 77 (skipped) where namespaces
# cannot be made.
set -euo pipefail
bin=$1     # the folder of the built program and libzevlink
driver=$2  # the kill driver
kills=${KILLS:-20}
seed=${SEED:-$((RANDOM * 32768 + RANDOM))}
source "$(dirname "$0")/e2e_namespace.sh"

rate=1.5
write_rate_table "1,5"
printf '[General]\r\nStatus=1\r\nLog=1\r\nLogFile=%s\r\nTrafType=2\r\nTable=%s\r\n[Count]\r\nEdn=1\r\n' \
    "$prog/logfile.log" "$prog/rates.kvtl" > "$prog/Config.ini"

echo "$kills kills, seed $seed"
status=0
in_ns_x "$driver" "$prog" "$kills" "$seed" "${LONGEST_RUN_MS:-4000}" "$rate" || status=$?
if [ "$status" -ne 0 ]; then
    echo "--- stats"; cat "$prog"/stats/*.ini 2>/dev/null || true
    echo "--- program"; tail -n 30 "$work/kestrova.out" 2>/dev/null || true
fi
exit "$status"
