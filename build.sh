#!/usr/bin/env bash
# Horlan's set-up on Debian 12, needing nothing but bash to start with:
#   ./build.sh run    install what is missing, build, start Horlan
#   ./build.sh test   install what is missing, build, run every test and check the package
#   ./build.sh build  install what is missing and build (for developers)
# Packages are installed through sudo when not root; everything else runs as the caller.
set -euo pipefail
cd "$(dirname "$0")"
build_dir=${BUILD_DIR:-build}

step() { printf '\n== build.sh: %s\n' "$*"; }

build() {
    step "installing what is missing"
    scripts/install-deps
    if [ "$(id -u)" -eq 0 ] && [ "$(stat -c %u .)" -ne 0 ]; then
        # root in someone else's clone (sudo ./build.sh): go on as the clone's owner, so no
        # file in it becomes root's.
        local owner home
        owner=$(stat -c %U .)
        home=$(getent passwd "$owner" | cut -d: -f6)
        step "going on as $owner, the owner of this clone"
        exec runuser -u "$owner" -- \
            env HOME="$home" USER="$owner" LOGNAME="$owner" ./build.sh "$@"
    fi
    step "configuring and building $build_dir"
    # Warnings are errors for the test command only: nobody's build fails on a new warning.
    local werror=OFF
    [ "$1" = test ] && werror=ON
    # ccache, when installed, serves this build and the sanitizer and fuzz builds alike.
    if command -v ccache >/dev/null; then
        export CMAKE_CXX_COMPILER_LAUNCHER=ccache
    fi
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DHORLAN_WERROR="$werror"
    cmake --build "$build_dir"
}

case "${1:-}" in
build)
    build "$@"
    ;;
run)
    build "$@"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "build.sh run: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
        echo "build.sh run: Horlan is a desktop program; start it from a graphical session." >&2
        exit 1
    fi
    exec "./$build_dir/horlan"
    ;;
test)
    build "$@"
    step "checking the tests' size and assertions"
    scripts/check-tests
    step "running the tests"
    scripts/run-ctest "$build_dir"
    step "running the tests under AddressSanitizer and UBSan"
    scripts/sanitize-tests
    step "fuzzing"
    scripts/fuzz
    step "building and checking the package"
    scripts/check-package "$build_dir"
    step "all passed"
    ;;
*)
    echo "usage: $0 run|test|build" >&2
    exit 2
    ;;
esac
