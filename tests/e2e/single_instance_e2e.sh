#!/usr/bin/env bash
# Twenty copies of the real program started at once leave exactly one running; a later copy
# ends at once without a window, and the first one keeps running.
set -euo pipefail
bin=$1
work=$(mktemp -d)
cleanup() {
    pkill -KILL -f "^$work/prog/kestrova" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/prog" "$work/run"
chmod 700 "$work/run"
cp "$bin/kestrova" "$work/prog/"
cp -P "$bin"/libzevlink.so* "$work/prog/"
export XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen

for _ in $(seq 20); do "$work/prog/kestrova" > /dev/null 2>&1 & done
# The others end within their connect window (5 s at most); give them a little more.
for _ in $(seq 40); do
    [ "$(pgrep -c -f "^$work/prog/kestrova" || true)" -le 1 ] && break
    sleep 0.25
done
sleep 1
running=$(pgrep -c -f "^$work/prog/kestrova" || true)
[ "$running" -eq 1 ] || { echo "FAIL: $running copies running"; exit 1; }

start=$(date +%s%N)
"$work/prog/kestrova" > /dev/null 2>&1 || { echo "FAIL: a later copy failed"; exit 1; }
took=$(( ($(date +%s%N) - start) / 1000000 ))
running=$(pgrep -c -f "^$work/prog/kestrova" || true)
[ "$running" -eq 1 ] || { echo "FAIL: $running copies after a later start"; exit 1; }
echo "PASS: one copy of twenty left running; a later copy ended after $took ms"
