#!/usr/bin/env bash
# Horlan against bare Qt programs, side by side in one run under Xvfb:
#   start-up to the first mapped window and resident memory 1 s later, against a bare Qt
#   window (median of several alternating starts); idle processor time over 60 s, against a
#   bare Qt window whose 100 ms timer makes one netlink dump of every link's counters and sums
#   their bytes (and, for comparison, one whose timer does nothing), all running at the same
#   time.
# Everything runs in a network namespace of its own (loopback, and an unconnected veth pair
# holding the default route), so nothing can leave the machine.
# Prints the three ratios, `ratio` on the last line. Usage:
#   bench/startup-ratios.sh [build-dir] [starts] [idle-seconds]
set -euo pipefail

if [ -z "${HORLAN_BENCH_NAMESPACE:-}" ]; then
    exec unshare --user --map-root-user --net -- env HORLAN_BENCH_NAMESPACE=1 bash -c '
        ip link set lo up &&
        ip link add v0 type veth peer name v1 && ip link set v0 up && ip link set v1 up &&
        ip addr add 192.0.2.77/24 dev v0 && ip route add default via 192.0.2.1 &&
        exec "$0" "$@"' "$0" "$@"
fi

build=$(realpath "${1:-build}")
starts=${2:-7}
idle=${3:-60}
display=:37

for f in horlan bench/bare_qt bench/mapwatch; do
    [ -x "$build/$f" ] || { echo "startup-ratios: $build/$f is missing; build it first" >&2; exit 1; }
done

scratch=$(mktemp -d)
runtime=
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$scratch" "$runtime"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done

# Private folders for all three programs, so that no real settings are read or written. The
# runtime folder lies in memory, as a session's /run/user/<uid> does.
runtime=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
mkdir -p "$scratch"/{config,data,cache}
export DISPLAY=$display HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data \
    XDG_CACHE_HOME=$scratch/cache XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb
unset DBUS_SESSION_BUS_ADDRESS

# Every program runs without the right to set the clock.
run() { "$build/bench/mapwatch" "$1" setpriv --bounding-set=-sys_time --inh-caps=-sys_time "${@:2}"; }
field() { sed -n "s/.*\<$1=\([0-9.]*\).*/\1/p"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A first start of each fills the font caches and writes Horlan's list file.
run 0 "$build/bench/bare_qt" >/dev/null
run 0 "$build/horlan" >/dev/null

: >"$scratch/bare" && : >"$scratch/horlan"
for _ in $(seq "$starts"); do
    run 0 "$build/bench/bare_qt" >>"$scratch/bare"
    run 0 "$build/horlan" >>"$scratch/horlan"
done
bare_ms=$(field startup_ms <"$scratch/bare" | median)
horlan_ms=$(field startup_ms <"$scratch/horlan" | median)
bare_cpu_ms=$(field startup_cpu_ms <"$scratch/bare" | median)
horlan_cpu_ms=$(field startup_cpu_ms <"$scratch/horlan" | median)
bare_kb=$(field rss_kb <"$scratch/bare" | median)
horlan_kb=$(field rss_kb <"$scratch/horlan" | median)

run "$idle" "$build/bench/bare_qt" timer >"$scratch/timer-idle" &
timer=$!
run "$idle" "$build/bench/bare_qt" netlink >"$scratch/netlink-idle" &
netlink=$!
run "$idle" "$build/horlan" >"$scratch/horlan-idle"
wait "$timer" "$netlink"
timer_cpu=$(field cpu_ms <"$scratch/timer-idle")
netlink_cpu=$(field cpu_ms <"$scratch/netlink-idle")
horlan_cpu=$(field cpu_ms <"$scratch/horlan-idle")

awk -v bm="$bare_ms" -v hm="$horlan_ms" -v bcm="$bare_cpu_ms" -v hcm="$horlan_cpu_ms" -v bk="$bare_kb" -v hk="$horlan_kb" \
    -v tc="$timer_cpu" -v nc="$netlink_cpu" -v hc="$horlan_cpu" -v idle="$idle" 'BEGIN {
    printf "start-up to first mapped window: horlan %.1f ms, bare window %.1f ms (goal <= 1.3x)\n", hm, bm
    printf "  processor time until then:     horlan %.1f ms, bare window %.1f ms (%.2fx)\n", hcm, bcm, hcm / bcm
    printf "resident memory 1 s later:       horlan %d kB, bare window %d kB (goal <= 1.15x)\n", hk, bk
    printf "idle processor time over %d s:   horlan %.1f ms, bare 100 ms netlink dump %.1f ms (goal <= 1.1x)\n", idle, hc, nc
    printf "  against an empty 100 ms timer: %.1f ms (%.2fx)\n", tc, hc / tc
    printf "ratio startup=%.2f memory=%.2f idle_cpu=%.2f\n", hm / bm, hk / bk, hc / nc
}'
