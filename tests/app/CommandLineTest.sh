#!/bin/sh
# The shipped program's command line, started without the right to set the clock.
# --help and --version must answer with no display at all; an unknown option needs a
# (offscreen) display, because Qt's own options are taken off before Horlan looks.
exe=$1 out=$(mktemp) err=$(mktemp) copy=$(mktemp -d)
trap 'rm -rf "$out" "$err" "$copy"' EXIT
fails=0
run() { # <expected exit code> <platform or ""> <arguments...>
    want=$1 platform=$2
    shift 2
    env -u DISPLAY -u WAYLAND_DISPLAY ${platform:+QT_QPA_PLATFORM=$platform} \
        setpriv --bounding-set=-sys_time --inh-caps=-sys_time "$exe" "$@" >"$out" 2>"$err"
    got=$?
    [ "$got" -eq "$want" ] || { echo "FAIL: $*: exit $got, wanted $want" >&2; fails=1; }
}
expect() { # <file> <grep pattern>
    grep -q -- "$2" "$1" || { echo "FAIL: '$2' not in $(cat "$1")" >&2; fails=1; }
}
unset QT_QPA_PLATFORM
run 0 "" --version
[ "$(cat "$out")" = "Horlan 1.0.4" ] || { echo "FAIL: --version said '$(cat "$out")'" >&2; fails=1; }
run 0 "" --help
expect "$out" "^Usage: .*horlan \[options\]"
expect "$out" "--version"
[ ! -s "$err" ] || { echo "FAIL: --help wrote to stderr" >&2; fails=1; }
run 2 offscreen --bogus
expect "$err" "Unknown option 'bogus'"
expect "$err" "^Usage: "
[ ! -s "$out" ] || { echo "FAIL: --bogus wrote to stdout" >&2; fails=1; }
# A copy granted the right to set the clock, started by a user other than root, refuses before
# it reads anything. It runs in a user namespace of its own, where that right is worth nothing.
cp "$exe" "$copy/horlan" && setcap cap_sys_time+ep "$copy/horlan" || exit 1
DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent QT_QPA_PLATFORM=offscreen unshare --user \
    --map-user=65534 --map-group=65534 -- "$copy/horlan" --version >"$out" 2>"$err"
got=$?
[ "$got" -eq 1 ] && [ ! -s "$out" ] || { echo "FAIL: privileged copy: exit $got" >&2; fails=1; }
expect "$err" "^horlan: refusing to run with privileges"
exit $fails
