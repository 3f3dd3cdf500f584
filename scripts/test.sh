#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit tests,
# headless simulations, valgrind, the package and the end-to-end tests under
# Xvfb; the same again on each other SDL 1.2 the system has (but valgrind
# and the benchmark's smoke run); the Windows build under wine; the browser
# build and its tests; the frame benchmark's figures; on Debian 12 the suite
# in a Debian 13 root too; the whole suite again in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer; and the unit and headless
# tests built for arm64, armhf and s390x, run under qemu-user.
#
#   bash scripts/test.sh          everything (CI, and before a change lands)
#   bash scripts/test.sh quick    the unit and headless tests and one walk
#                                 on each target: X11, Wayland, wine and
#                                 headless Chromium (a few minutes, for the
#                                 runs of a working day)
#
# Stages that mostly wait (the Debian 13 pass, the library builds beside
# the end-to-end tests) run in the background beside the others
# (scripts/stages.sh); the command ends with a table of each stage's time,
# the whole, and the processor time used.
set -euo pipefail
cd "$(dirname "$0")/.."
tier=${1:-full}
case $tier in full|quick) ;; *) echo "usage: $0 [quick]" >&2; exit 2 ;; esac
# Everything this command starts carries this mark in its environment; a
# process with it still running at the end is named and ended, and fails
# the command.
export VELMORA_TEST_RUN="test-$$-$(date +%s%N)"
source scripts/stages.sh
finish() {
    local rc=$?
    stage_stop_all
    stage_table
    env -u VELMORA_TEST_RUN bash scripts/leftovers.sh "$VELMORA_TEST_RUN" || rc=1
    exit "$rc"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
# Background builds yield to the tests that watch the clock.
# (The stage's own shell yields, so that a shell function may be given.)
background() { renice -n 10 -p "$BASHPID" >/dev/null; "$@"; }

# Everything is installed first, one install after another (apt takes one at
# a time), so that no install runs beside the tests (the package test
# installs with dpkg).
installs() {
    bash scripts/install-deps.sh
    [ "$tier" = quick ] || bash scripts/debian13.sh --install-only
}
cross_installs() {
    bash scripts/windows.sh --install-only
    bash scripts/web.sh --install-only
}

# Debian 12 has classic SDL 1.2 by default and sdl12-compat (SDL 1.2 over
# SDL2) beside it; Debian 13 has sdl12-compat alone. The tests that use SDL
# run on each one found; the test programs check which library they loaded.
find_libraries() {
    source scripts/sdl-libraries.sh
    mapfile -t libraries < <(sdl_libraries build/tests/velmora_probe)
    [ ${#libraries[@]} -gt 0 ] || { echo "no SDL 1.2 library loads here" >&2; exit 1; }
    echo "== SDL 1.2 on this system (kind, version, file, folder; '-' is the default):"
    printf '   %s\n' "${libraries[@]}"
}
# The system's default: every test.
ctest_default() {
    read -r kind version _ <<<"${libraries[0]}"
    echo "== Every test on $kind $version, the system's default"
    VELMORA_EXPECT_SDL=$kind ctest --test-dir build --output-on-failure -j2 "$@"
    [ ${#libraries[@]} -gt 1 ] || echo "== This system has one SDL 1.2 ($kind $version): the tests ran once"
}
ctest_other() {
    read -r kind version _ folder <<<"$1"
    echo "== The end-to-end and headless tests again on $kind $version ($folder)"
    LD_LIBRARY_PATH=$folder${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} VELMORA_EXPECT_SDL=$kind \
        ctest --test-dir build --output-on-failure -j2 -LE 'valgrind|bench'
}
# The same walk on a Wayland desktop (sway, headless), each way a player
# runs the game there.
wayland_walk() {
    echo "== The end-to-end walk on a Wayland desktop (sway with Xwayland, 1920x1080)"
    bash tests/e2e/wayland/walk.sh "$PWD/build/velmora" "$PWD/build" "$PWD/build/tests/velmora_probe" \
        "$PWD/build/tests/velmora_wl_input"
}
# The Windows game, cross-built, and its end-to-end test under wine.
wine_test() {
    echo "== The Windows build's end-to-end test under wine (zip, installer)"
    bash tests/e2e/wine/e2e_windows.sh "build-win64/velmora-$version-win64.zip" \
        "build-win64/velmora-$version-win64-setup.exe" build/tests/velmora_probe build/velmora build
}
sanitizer_build() {
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON
    cmake --build build-asan -j"$(nproc)"
}
# The package test installs a release build and valgrind cannot run a
# sanitized program; everything else runs again, the end-to-end tests
# ("e2e") apart from the rest ("rest") so that these can run beside the
# Debian 13 pass's walks.
sanitizers() {
    echo "== The same tests under AddressSanitizer and UndefinedBehaviorSanitizer ($1)"
    sanitizer_build >/dev/null
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
    if [ "$1" = e2e ]; then
        ctest --test-dir build-asan --output-on-failure -j2 -E '^e2e_install$' -L e2e
    else
        ctest --test-dir build-asan --output-on-failure -j2 -LE 'valgrind|e2e'
    fi
}
# The unit and headless tests on arm64, armhf and s390x, cross-built and
# run under qemu-user (scripts/cross-arch.sh), on the cycles nothing else
# wants: emulation takes a whole core.
other_processors() {
    renice -n 19 -p "$BASHPID" >/dev/null
    # Their libraries are Debian 12's, for Debian 12's cross compilers.
    if ! grep -qx 'VERSION_CODENAME=bookworm' /etc/os-release; then
        echo "== Other processors: built against Debian 12 alone; not on this system"
        return 0
    fi
    bash scripts/cross-arch.sh test
}

same_downloads() {
    echo "== The .debs built twice and the zips made twice: the same bytes (release.sh --verify does it all)"
    bash tests/release/same_downloads.sh
}
pictures() {
    echo "== The pictures in docs/ taken again: what they show, and not stale"
    bash tests/release/pictures.sh
}
bench_frames() {
    echo "== Frame benchmark (figures only; timing never fails the run)"
    bash bench/run.sh build
}
bench_live() {
    echo "== The game's cost on a display, on each SDL 1.2 (figures only)"
    bash bench/live.sh build
}
if [ "$tier" = quick ]; then
    stage installs installs
    stage build bash scripts/build.sh
    stage_start windows-build background bash scripts/windows.sh
    stage_start web-build background bash tests/web/run.sh build
    find_libraries
    read -r kind _ <<<"${libraries[0]}"
    stage unit-and-headless env VELMORA_EXPECT_SDL="$kind" \
        ctest --test-dir build --output-on-failure -j2 -LE 'e2e|valgrind|bench'
    stage x11-walk env VELMORA_EXPECT_SDL="$kind" ctest --test-dir build --output-on-failure -R '^e2e_rally$'
    stage wayland-walk wayland_walk
    stage_join windows-build
    stage wine-walk wine_test
    stage_join web-build
    stage chromium-walk bash tests/web/run.sh quick
    exit 0
fi

# The Debian 13 pass makes its root, installs and builds there, then tests:
# a long pass, so it starts first and its set-up runs beside everything
# else; its tests wait for this machine's walks to end.
stage installs installs
debian13_go=$stages_dir/debian13-go
# The root takes the browser tests' npm packages from here (its npm may not
# reach the registry as this machine's does).
stage cross-installs cross_installs
stage web-packages bash tests/web/run.sh packages
stage_start debian13 env VELMORA_DEBIAN13_AFTER="$debian13_go" bash scripts/debian13.sh
stage build bash scripts/build.sh

# The Windows and browser builds compute while the end-to-end tests mostly
# wait.
stage_start windows-build background bash scripts/windows.sh
stage_start web-build background bash tests/web/run.sh build
find_libraries
stage ctest-default ctest_default
for entry in "${libraries[@]:1}"; do
    stage "ctest-$(cut -d' ' -f1 <<<"$entry")" ctest_other "$entry"
done
# The package tests' dpkg is done, so the other processors' installs may
# run: their builds and tests take what the walks leave, to the end.
stage_start other-processors other_processors
stage wayland-walk wayland_walk
stage_join windows-build
stage wine-test wine_test
stage_join web-build
# The sanitizer build and the second build of the packages compute while
# the browser walks mostly wait.
stage_start sanitizer-build background sanitizer_build
stage_start same-downloads background same_downloads
stage web-tests bash tests/web/run.sh test

stage pictures pictures
stage_join sanitizer-build
stage sanitizer-e2e sanitizers e2e
# This machine's walks are done: the Debian 13 pass's tests go, and what
# only computes or measures runs beside them.
touch "$debian13_go"
stage bench-live bench_live
stage_join same-downloads
stage bench-frames bench_frames
stage sanitizer-tests sanitizers rest
stage_join other-processors
stage_join debian13
