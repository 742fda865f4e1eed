# Shared by the end-to-end scripts that run the real program in a network namespace of their
# own: the checks that skip (exit 77) where the machine cannot do it, the namespace, a copy of
# the program in a folder of its own, and the clean-up. Source it with `bin` set to the folder
# of the built program and libzevlink.

skip() { echo "SKIP: $*"; exit 77; }
fail() {
    echo "FAIL: $*"
    echo "--- log"; iconv -f CP1251 -t UTF-8 "$prog/logfile.log" 2>/dev/null || true
    echo "--- stats"; cat "$prog"/stats/*.ini 2>/dev/null || true
    echo "--- program"; cat "$work/kestrova.out" 2>/dev/null || true
    exit 1
}

[ "$(id -u)" -eq 0 ] || skip "needs root to create a network namespace"
command -v xvfb-run >/dev/null || skip "xvfb-run is not installed"
[ -c /dev/net/tun ] || skip "no /dev/net/tun"
ns="kestrova-e2e-$$"
ip netns add "$ns" 2>/dev/null || skip "cannot create a network namespace"

work=$(mktemp -d)
prog="$work/prog"
kestrova_pid=""
background=()
cleanup() {
    [ -n "$kestrova_pid" ] && kill -KILL "$kestrova_pid" 2>/dev/null || true
    for pid in "${background[@]}"; do kill "$pid" 2>/dev/null || true; done
    ip netns pids "$ns" 2>/dev/null | xargs -r kill -KILL 2>/dev/null || true
    ip netns del "$ns" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$prog/stats" "$work/run"
chmod 700 "$work/run"
cp "$bin/kestrova" "$prog/"
cp -P "$bin"/libzevlink.so* "$prog/"

in_ns() { ip netns exec "$ns" "$@"; }
in_ns ip link set lo up
# Nothing but the test's own packets on the links: no IPv6 chatter.
in_ns sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1

# Runs a command in the namespace with the program's environment and an X server of its own.
in_ns_x() {
    in_ns env XDG_RUNTIME_DIR="$work/run" LANG=C.UTF-8 LC_ALL=C.UTF-8 \
        xvfb-run -a -s "-screen 0 1024x768x24" "$@"
}

# Starts the program in the namespace under an X server of its own, its output in
# $work/kestrova.out; sets kestrova_pid, and runner to the X server's wrapper.
start_program() {
    in_ns_x "$prog/kestrova" > "$work/kestrova.out" 2>&1 &
    runner=$!
    background+=("$runner")
    for _ in $(seq 50); do
        kestrova_pid=$(pgrep -f "^$prog/kestrova" || true)
        [ -n "$kestrova_pid" ] && return
        sleep 0.2
    done
    fail "the program did not start"
}

# A rate table of one row, every day and hour, at the price given (in the file's own notation).
write_rate_table() {
    printf '0:00|0:00|%s|Все дни\r\n' "$1" | iconv -f UTF-8 -t CP1251 > "$prog/rates.kvtl"
}

# The value of a key of the month's statistics file, as written.
stats_value() {
    tr -d '\r' < "$prog/stats/$(date +%-m-%Y).ini" | sed -n "s/^$1=//p"
}
