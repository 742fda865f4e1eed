#!/usr/bin/env bash
# Kestrova beside vnStat's daemon on the same dial-up link, as a user runs it all day.
#
# In a network namespace of its own, a fake modem peer brings up a PPP link with a default
# route; the real program (minimised under Xvfb and a window manager) and vnstatd (its own
# config and database in a temporary folder, its shortest interval, 2 s) count the link while
# it carries ten pings a second for SECONDS (default 120). Printed:
#   - CPU time of each over the window and the ratio;
#   - wake-ups a second of each: context switches of all the process's threads (voluntary:
#     the process slept and was woken; involuntary: it was preempted and resumed), summed from
#     /proc/PID/task/*/status;
#   - resident memory (VmRSS now, VmHWM the peak), and an empty Qt window's for scale;
#   - the bytes each counted against the kernel's counters of the link;
#   - the program's tick (the whole timer handler, and the meter's part of it) against the
#     floor: tick_floor reading the link's counters through netlink, asking Zevlink and
#     overwriting a 100-byte file in place, once a second in the same run. Both are timed the
#     same way, from outside, by uprobes on the functions (tracefs); the cost of the timing
#     itself is measured on an empty function and shown beside;
#   - start-up time: from exec to the first window mapped (xcb_map_window), the program against
#     an empty Qt window with one label, median of five starts each in the same run;
#   - the tick's Google Benchmarks (the meter's tick, and the window's timer slot minimised under
#     the same X server and window manager), run on the same link while it carries traffic.
#
# Usage: run.sh BUILD_DIR [SECONDS]. Needs root; without it, it says so and exits 0.
# KESTROVA_BENCH_PROFILE=1 adds, after the measured window, the program's system calls (strace)
# and a profile (perf) to guide the work on its speed.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
seconds=${2:-${KESTROVA_BENCH_SECONDS:-120}}
bin="$build/bin"
helpers="$build/bench"
link=ppp-bench

say() { echo "side-by-side: $*"; }
skip() {
    say "skipped: $*"
    exit 0
}

[ "$(id -u)" -eq 0 ] || skip "it needs root (a network namespace of its own, tracefs); run 'sudo make bench' for it"
for tool in ip Xvfb twm xdotool vnstatd vnstat readelf nm; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup.sh installs it)"
done
for file in "$bin/kestrova" "$helpers/link_peer" "$helpers/tick_floor" "$helpers/empty_window"; do
    [ -x "$file" ] || skip "$file is not built"
done
[ -c /dev/net/tun ] || skip "no /dev/net/tun"

tracefs=/sys/kernel/tracing
[ -e "$tracefs/uprobe_events" ] || mount -t tracefs nodev "$tracefs" 2>/dev/null || true
[ -w "$tracefs/uprobe_events" ] || skip "no tracefs with uprobe events at $tracefs"

ns="kestrova-bench-$$"
ip netns add "$ns" 2>/dev/null || skip "cannot create a network namespace"
work=$(mktemp -d /tmp/kestrova-bench.XXXXXX)
instance="$tracefs/instances/kestrova-bench-$$"
group="kbench$$"
pids=()
cleanup() {
    exec 2>/dev/null  # no notices of the killed helpers
    for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    ip netns pids "$ns" 2>/dev/null | xargs -r kill -KILL 2>/dev/null || true
    if [ -d "$instance" ]; then
        echo 0 >"$instance/tracing_on" 2>/dev/null || true
        [ -d "$instance/events/$group" ] && echo 0 >"$instance/events/$group/enable" 2>/dev/null
        echo 0 >"$instance/events/sched/sched_process_exec/enable" 2>/dev/null || true
        rmdir "$instance" 2>/dev/null || true
    fi
    grep -o "^[pr]:$group/[a-z_]*" "$tracefs/uprobe_events" 2>/dev/null |
        while read -r probe; do echo "-:${probe#*:}" >>"$tracefs/uprobe_events"; done || true
    ip netns del "$ns" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Started in the background, `ip netns exec ... &` is the program's own pid (ip execs it).
in_ns() { ip netns exec "$ns" "$@"; }
in_ns ip link set lo up
in_ns sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1

# --- The programs' own copies, so the probes touch nothing else on the machine.
prog="$work/prog"
mkdir -p "$prog/stats" "$work/run" "$work/vnstat"
chmod 700 "$work/run"
cp "$bin/kestrova" "$prog/"
cp -P "$bin"/libzevlink.so* "$prog/"
cp "$helpers/tick_floor" "$helpers/empty_window" "$work/"
cp "$bin"/libzevlink.so* "$work/" 2>/dev/null || true
# A user's settings: logging on, per-minute billing, the floating window's keys.
printf '%s\r\n' "[General]" "Status=1" "TrayIcon=1" "Minimize=1" "TabSave=1" "Tab=0" \
    "CostFormat=0" "TrafType=0" "TypeHint=1" "Log=1" "LogFile=$prog/logfile.log" \
    "LogSizeEnabled=1" "LogSize=100" "EveryMin=1" "RunMinimize=0" "MinAuto=28" "" \
    "[Count]" "Edn=0" "NoCost=0" "" \
    "[StatWin]" "StatWin=0" "Color=0" "transporant=220" "FormVersion=0" "Flags=0" \
    "ShowCmd=1" "PixelsPerInch=96" "MinMaxPos=-1,-1,-1,-1" "NormPos=700,10,900,90" "" \
    "[StatWinFont]" "Name=Liberation Sans" "Size=8" "Color=65280" "Charset=204" \
    "Style=0" >"$prog/Config.ini"

# --- Uprobes: file offset of a symbol in an ELF file.
offset_of() {
    local file=$1 symbol=$2 address type offset vaddr filesz memsz flags
    address=$( (nm "$file" 2>/dev/null; nm -D "$file" 2>/dev/null) |
        awk -v s="$symbol" '$3 == s { print $1; exit }')
    [ -n "$address" ] || return 1
    address=$((16#$address))
    while read -r type offset vaddr _ filesz memsz flags; do
        [ "$type" = LOAD ] && [[ "$flags" == *E* ]] || continue
        if ((address >= vaddr && address < vaddr + memsz)); then
            printf '0x%x\n' $((address - vaddr + offset))
            return 0
        fi
    done < <(readelf -lW "$file" | awk '$1 == "LOAD"')
    return 1
}
probe() {  # probe NAME FILE SYMBOL: entry NAME_in, return NAME_out
    local where
    where=$(offset_of "$2" "$3") || { say "no symbol $3 in $2"; return 1; }
    echo "p:$group/${1}_in $2:$where" >>"$tracefs/uprobe_events"
    echo "r:$group/${1}_out $2:$where" >>"$tracefs/uprobe_events"
}
xcb=$(readlink -f /usr/lib/x86_64-linux-gnu/libxcb.so.1 2>/dev/null || true)
timing=1
# The Qt timer's slot of the main window: the whole tick as the window runs it.
probe tick "$prog/kestrova" _ZN8kestrova9TMainForm10TimerTimerEv || timing=0
probe floor "$work/tick_floor" FloorTick || timing=0
probe empty "$work/tick_floor" EmptyTick || timing=0
probe map "$xcb" xcb_map_window || timing=0
[ "$timing" -eq 1 ] || say "the tick and start-up times are left out"
mkdir "$instance"
echo mono >"$instance/trace_clock"
echo 4096 >"$instance/buffer_size_kb"
if [ "$timing" -eq 1 ]; then echo 1 >"$instance/events/$group/enable"; fi
echo 1 >"$instance/events/sched/sched_process_exec/enable"
mark() { echo "bench:$1" >"$instance/trace_marker"; }

# --- The link, the X server.
mkfifo "$work/peer.out"
ip netns exec "$ns" "$helpers/link_peer" "$link" >"$work/peer.out" &
peer=$!
pids+=("$peer")
read -r -t 10 up <"$work/peer.out" && [ "$up" = up ] || skip "the link peer did not start"
exec 3<>"$work/display"
ip netns exec "$ns" Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.out" 2>&1 &
pids+=("$!")
for _ in $(seq 50); do
    display=$(head -1 "$work/display" 2>/dev/null || true)
    [ -n "$display" ] && break
    sleep 0.1
done
[ -n "$display" ] || skip "Xvfb did not start"
export DISPLAY=":$display"
gui_env=(env XDG_RUNTIME_DIR="$work/run" LANG=C.UTF-8 LC_ALL=C.UTF-8 DISPLAY=":$display")

wait_window() {  # the pid's first window, or nothing after 10 s
    local window=""
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    echo "$window"
}
stop() {  # stop PID: SIGTERM and wait for the end
    kill -TERM "$1" 2>/dev/null || true
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -KILL "$1" 2>/dev/null || true
}

# --- Start-up: the empty window and the program, five times each, one warm-up first. The
# program's last start is the one measured afterwards.
rounds=5
starts_empty=()
starts_prog=()
empty_rss=""
ip netns exec "$ns" "${gui_env[@]}" "$work/empty_window" >/dev/null 2>&1 &
pids+=("$!")
wait_window "$!" >/dev/null
stop "$!"
for round in $(seq $rounds); do
    for attempt in 1 2; do  # a start that fails is tried once more, and left out
        ip netns exec "$ns" "${gui_env[@]}" "$work/empty_window" >"$work/empty.out" 2>&1 &
        empty=$!
        pids+=("$empty")
        [ -n "$(wait_window "$empty")" ] && break
        [ "$attempt" -eq 2 ] && skip "the empty window did not show: $(cat "$work/empty.out")"
        stop "$empty"
    done
    starts_empty+=("$empty")
    sleep 1
    empty_rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$empty/status")
    stop "$empty"

    rm -f "$prog"/stats/*.ini "$prog/logfile.log"
    ip netns exec "$ns" "${gui_env[@]}" "$prog/kestrova" >"$work/kestrova.out" 2>&1 &
    kestrova=$!
    pids+=("$kestrova")
    starts_prog+=("$kestrova")
    window=$(wait_window "$kestrova")
    [ -n "$window" ] || skip "the program's window did not show: $(cat "$work/kestrova.out")"
    if [ "$round" -lt "$rounds" ]; then
        sleep 1
        stop "$kestrova"
    fi
done

# --- A window manager, and the program minimised as a user leaves it.
ip netns exec "$ns" "${gui_env[@]}" twm -f /dev/null >"$work/twm.out" 2>&1 &
pids+=("$!")
sleep 1
xdotool windowminimize "$window" 2>/dev/null || true
sleep 1
if xwininfo -id "$window" 2>/dev/null | grep -q 'IsViewable'; then
    say "note: the program's window could not be minimised"
fi

# --- vnstatd beside it, and the floor.
cat >"$work/vnstat.conf" <<EOF
DatabaseDir "$work/vnstat"
UpdateInterval 2
PollInterval 2
AlwaysAddNewInterfaces 1
UseLogging 0
PidFile "$work/vnstat.pid"
DaemonUser ""
DaemonGroup ""
EOF
ip netns exec "$ns" vnstatd -n --config "$work/vnstat.conf" >"$work/vnstatd.out" 2>&1 &
vnstatd=$!
pids+=("$vnstatd")
ip netns exec "$ns" "$work/tick_floor" "$link" "$work/floor-file" >"$work/floor.out" 2>&1 &
floor=$!
pids+=("$floor")
sleep 5
kill -0 "$vnstatd" 2>/dev/null || skip "vnstatd did not start: $(cat "$work/vnstatd.out")"

# --- The measured window.
counter() { in_ns cat "/sys/class/net/$link/statistics/$1"; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }'; }
switches() {  # voluntary involuntary, all threads
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^voluntary_ctxt/ { v += $2 } /^nonvoluntary_ctxt/ { n += $2 } END { print v, n }'
}
threads() { ls "/proc/$1/task" | wc -l; }
snapshot() {  # snapshot NAME PID
    echo "$(cpu_ticks "$2") $(cpu_ns "$2") $(switches "$2") $(threads "$2")" >"$work/$1.$3"
}

rx0=$(counter rx_bytes)
tx0=$(counter tx_bytes)
snapshot kestrova "$kestrova" start
snapshot vnstatd "$vnstatd" start
started=$(date +%s.%N)
mark start
kill -USR1 "$peer"
say "measuring for $seconds s"
sleep "$seconds"
snapshot kestrova "$kestrova" end
snapshot vnstatd "$vnstatd" end
ended=$(date +%s.%N)
mark end
# The tick's Google Benchmarks on the same link while it carries traffic.
if [ -x "$helpers/kestrova_bench" ]; then
    in_ns "$helpers/kestrova_bench" --benchmark_filter='BM_TickPer' --benchmark_min_time=0.5 \
        >"$work/tick-bench.out" 2>&1 || true
fi
if [ -x "$helpers/kestrova_window_bench" ]; then
    in_ns "${gui_env[@]}" "$helpers/kestrova_window_bench" --benchmark_min_time=0.5 \
        >>"$work/tick-bench.out" 2>&1 || true
fi
# Where the time goes, when asked (KESTROVA_BENCH_PROFILE=1): system calls and a profile of the
# running program, after the measured window so that they do not weigh on it.
if [ "${KESTROVA_BENCH_PROFILE:-0}" = 1 ]; then
    command -v strace >/dev/null &&
        timeout -s INT 20 strace -f -p "$kestrova" -o "$work/strace.out" 2>/dev/null || true
    command -v perf >/dev/null &&
        perf record -q -g -p "$kestrova" -o "$work/perf.data" -- sleep 60 >/dev/null 2>&1 || true
fi
kill -USR2 "$peer"
sleep 5 # both see the final counters: two of vnstatd's intervals
rx1=$(counter rx_bytes)
tx1=$(counter tx_bytes)
memory() { awk '/^VmRSS/ { r = $2 } /^VmHWM/ { h = $2 } END { printf "%.1f %.1f\n", r / 1024, h / 1024 }' "/proc/$1/status"; }
read -r k_rss k_hwm < <(memory "$kestrova")
read -r v_rss v_hwm < <(memory "$vnstatd")

stop "$kestrova"
stop "$vnstatd"
stop "$floor"
echo 0 >"$instance/tracing_on"

# --- What each counted.
stats=$(ls "$prog"/stats/*.ini | head -1)
value() { tr -d '\r' <"$stats" | sed -n "s/^$1=//p"; }
k_rx=$(value TotalTraficIn)
k_tx=$(value TotalTraficOut)
v_line=$(in_ns vnstat --config "$work/vnstat.conf" -i "$link" --oneline b 2>/dev/null || true)
v_rx=$(echo "$v_line" | awk -F';' '{ print $13 }')
v_tx=$(echo "$v_line" | awk -F';' '{ print $14 }')

# --- The report.
elapsed=$(awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.3f", b - a }')
figures() {  # figures NAME: cpu_ms cpu_stat_ms wakeups/s voluntary/s involuntary/s threads
    read -r t0 n0 v0 i0 _ <"$work/$1.start"
    read -r t1 n1 v1 i1 th <"$work/$1.end"
    awk -v t=$((t1 - t0)) -v n=$((n1 - n0)) -v v=$((v1 - v0)) -v i=$((i1 - i0)) \
        -v s="$elapsed" -v th="$th" \
        'BEGIN { printf "%.1f %.0f %.2f %.2f %.2f %d\n", n / 1e6, t * 10, (v + i) / s, v / s, i / s, th }'
}
read -r k_cpu k_stat k_wake k_vol k_inv k_threads < <(figures kestrova)
read -r v_cpu v_stat v_wake v_vol v_inv v_threads < <(figures vnstatd)

echo
echo "Kestrova beside vnstatd on $link, ${elapsed} s with traffic (10 pings a second)"
printf '%-34s %18s %18s\n' "" "kestrova" "vnstatd"
printf '%-34s %15.1f ms %15.1f ms\n' "CPU time (schedstat, all threads)" "$k_cpu" "$v_cpu"
printf '%-34s %15d ms %15d ms\n' "CPU time (stat utime+stime)" "$k_stat" "$v_stat"
printf '%-34s %13.3f ms/s %13.3f ms/s\n' "CPU per second" \
    "$(awk -v c="$k_cpu" -v s="$elapsed" 'BEGIN { print c / s }')" \
    "$(awk -v c="$v_cpu" -v s="$elapsed" 'BEGIN { print c / s }')"
printf '%-34s %18.2f %18.2f\n' "Wake-ups a second" "$k_wake" "$v_wake"
printf '%-34s %18s %18s\n' "  voluntary / involuntary" "$k_vol / $k_inv" "$v_vol / $v_inv"
printf '%-34s %18d %18d\n' "Threads" "$k_threads" "$v_threads"
printf '%-34s %14.1f MiB %14.1f MiB\n' "Resident memory (VmRSS)" "$k_rss" "$v_rss"
printf '%-34s %14.1f MiB %14.1f MiB\n' "  peak (VmHWM)" "$k_hwm" "$v_hwm"
echo "CPU ratio kestrova/vnstatd: $(awk -v a="$k_cpu" -v b="$v_cpu" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }')"
echo "An empty Qt window with one label: $(awk -v r="$empty_rss" 'BEGIN { printf "%.1f MiB", r / 1024 }') resident"
echo
echo "Bytes counted (received / sent), the kernel's counters over the run: $((rx1 - rx0)) / $((tx1 - tx0))"
echo "  kestrova: ${k_rx:-?} / ${k_tx:-?}   vnstatd: ${v_rx:-?} / ${v_tx:-?}"

if [ -s "$work/strace.out" ]; then
    echo
    echo "System calls of the program over 20 s (strace), and the files it opened:"
    awk '{ call = $2; sub(/\(.*/, "", call); if (call ~ /^[a-z_0-9]+$/) n[call]++ }
         END { for (c in n) printf "%6d %s\n", n[c], c }' "$work/strace.out" |
        sort -rn | head -20 | sed 's/^/  /' || true
    grep -o 'open[a-z]*(AT_FDCWD, "[^"]*"' "$work/strace.out" | sed 's/.*"\(.*\)"/\1/' |
        sort | uniq -c | sort -rn | head -10 | sed 's/^/  /' || true
fi
if [ -s "$work/perf.data" ]; then
    echo
    echo "Where the program's time goes over 60 s (perf, self time):"
    perf report -i "$work/perf.data" --no-children -g none --sort dso,sym --stdio 2>/dev/null |
        grep -E '^ +[0-9]' | head -40 | sed 's/^/  /' || true
fi
if [ -s "$work/tick-bench.out" ]; then
    echo
    echo "The tick's Google Benchmarks, online on the same link with traffic:"
    grep -E '^BM_' "$work/tick-bench.out" | sed 's/^/  /' || true
fi

if [ "$timing" -eq 1 ]; then
    awk -v prog="$(IFS=,; echo "${starts_prog[*]}")" -v empty="$(IFS=,; echo "${starts_empty[*]}")" \
        -v inside_floor="$(awk '{ print $1 }' "$work/floor.out" 2>/dev/null)" '
        function median(list, n,   i, j, t, a) {
            split(list, a, " ")
            for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        BEGIN {
            n = split(prog, p, ","); for (i = 1; i <= n; i++) isprog[p[i]] = 1
            n = split(empty, e, ","); for (i = 1; i <= n; i++) isempty[e[i]] = 1
        }
        /^#/ { next }
        {
            for (f = 1; f <= NF; f++) if ($f ~ /^\[[0-9]+\]$/) break
            task = $(f - 1); pid = task; sub(/.*-/, "", pid)
            time = $(f + 2); sub(/:$/, "", time); time *= 1e6
            event = $(f + 3); sub(/:$/, "", event)
        }
        / bench:start/ { inside = 1; next }
        / bench:end/ { inside = 0; next }
        event == "sched_process_exec" {
            match($0, /pid=[0-9]+/); epid = substr($0, RSTART + 4, RLENGTH - 4)
            execat[epid] = time  # the last exec: ip netns exec and env exec the program
            next
        }
        event == "map_in" && (pid in execat) && !(pid in mapped) {
            mapped[pid] = 1
            if (pid in isprog) { sp = sp " " (time - execat[pid]) / 1000; np++ }
            if (pid in isempty) { se = se " " (time - execat[pid]) / 1000; ne++ }
            next
        }
        event ~ /_in$/ { name = event; sub(/_in$/, "", name); began[name, pid] = time; next }
        event ~ /_out$/ {
            name = event; sub(/_out$/, "", name)
            if (!inside || !((name, pid) in began)) next
            d = time - began[name, pid]; delete began[name, pid]
            sum[name] += d; count[name]++; list[name] = list[name] " " d
        }
        END {
            print ""
            printf "One tick, timed by uprobes over the window (median, mean, ticks):\n"
            split("tick floor empty", names, " ")
            label["tick"] = "kestrova tick handler (Meter::Tick and the window)"
            label["floor"] = "floor: netlink counters, InetCheck, 100-byte file"
            label["empty"] = "an empty function (what the timing adds)"
            for (k = 1; k <= 3; k++) {
                m = names[k]
                if (!count[m]) { printf "  %-52s no samples\n", label[m]; continue }
                med[m] = median(list[m], count[m])
                printf "  %-52s %7.1f us %7.1f us %5d\n", label[m], med[m], sum[m] / count[m], count[m]
            }
            if (inside_floor != "")
                printf "  %-52s %7.1f us\n", "floor timed by its own clock", inside_floor
            if (count["tick"] && count["floor"]) {
                b = count["empty"] ? med["empty"] : 0
                printf "  tick / floor: %.2f (medians); %.2f with the timing cost taken off both\n",
                    med["tick"] / med["floor"], (med["tick"] - b) / (med["floor"] - b)
            }
            print ""
            if (np && ne)
                printf "Start-up, exec to the first window mapped (median of %d): kestrova %.0f ms, empty Qt window %.0f ms, ratio %.2f\n",
                    np, median(sp, np), median(se, ne), median(sp, np) / median(se, ne)
        }' "$instance/trace"
fi
