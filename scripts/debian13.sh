#!/usr/bin/env bash
# The suite again on Debian 13 (trixie), from a Debian 12 machine: in a
# Debian 13 root made with debootstrap from the archive this machine uses
# and set up by the project's own scripts/install-deps.sh, kept under
# ~/.cache/velmora-debian13/ a week at a time (a new week makes a new root
# with the archive's packages of then). It builds a copy of this tree there
# and runs the unit tests, the replays, the end-to-end tests under Xvfb and
# on a Wayland desktop (sway), the live benchmark for a moment, unless
# VELMORA_DEBIAN13_WINDOWS=0 the Windows build and its test under wine 10, and unless VELMORA_DEBIAN13_WEB=0 the
# browser build with Debian 13's emscripten and its tests (tests/web/run.sh:
# Chromium, Firefox ESR and node; VELMORA_DEBIAN13_WEB=build builds it
# without testing it). What those builds cache
# (the libraries for Windows, FreeType for WebAssembly, the toolchain's
# own) stays in the root, under its /root/.cache and /usr/share.
#
#   bash scripts/debian13.sh
#
# With VELMORA_DEBIAN13_AFTER naming a file, the end-to-end tests and walks
# wait, after the set-up and the unit and headless tests, until that file
# exists.
#
# Each step in the root runs in namespaces of its own: mounts (/proc, /sys,
# /dev, /dev/pts, /dev/shm), processes and, for the tests, the network, so
# their X servers never meet this machine's. When a step ends, however it
# ends, the kernel ends every process it left and drops its mounts. On
# Debian 13 itself there is nothing to add and it says so.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = inside-setup ] || [ "${1:-}" = inside-headless ] || [ "${1:-}" = inside-tests ]; then
    # In the root: the copy of the tree is the current folder.
    step=$1
    export DEBIAN_FRONTEND=noninteractive
    if [ "$step" = inside-setup ]; then
        # A test command ended during an install here leaves packages
        # unpacked or half installed: finish them, fetch the broken again.
        dpkg --configure -a
        mapfile -t broken < <(dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' |
                                  awk '$1 != "ii" && $1 != "rc" { print $2 }')
        if [ ${#broken[@]} -gt 0 ]; then
            echo "== Debian 13: installing again what an earlier run left half installed: ${broken[*]}"
            apt-get -o DPkg::Lock::Timeout=900 update -q
            apt-get -o DPkg::Lock::Timeout=900 install -y -q --reinstall --no-install-recommends "${broken[@]}"
        fi
        bash scripts/install-deps.sh
        bash scripts/build.sh
        if [ "${VELMORA_DEBIAN13_WINDOWS:-1}" != 0 ]; then
            echo "== Debian 13: the Windows build"
            bash scripts/windows.sh
        fi
        if [ "${VELMORA_DEBIAN13_WEB:-1}" != 0 ]; then
            echo "== Debian 13: the browser build"
            bash tests/web/run.sh build
        fi
        # The root keeps what it installed, not the downloads (half a GiB).
        apt-get clean
        exit 0
    fi
    source scripts/sdl-libraries.sh
    mapfile -t libraries < <(sdl_libraries build/tests/velmora_probe)
    [ ${#libraries[@]} -gt 0 ] || { echo "no SDL 1.2 library loads here" >&2; exit 1; }
    printf '   %s\n' "${libraries[@]}"
    status=0
    # The unit and headless tests (inside-headless) need no display and run
    # beside the other stages' walks; the end-to-end tests wait for them.
    for entry in "${libraries[@]}"; do
        read -r kind version _ folder <<<"$entry"
        labels=(-L e2e)
        if [ "$step" = inside-headless ]; then
            echo "== Debian 13: the unit tests and replays on $kind $version"
            labels=(-LE "valgrind|e2e$([ "$folder" = - ] || echo '|bench')")
        else
            echo "== Debian 13: the end-to-end tests on $kind $version"
        fi
        [ "$folder" != - ] || folder=
        env ${folder:+LD_LIBRARY_PATH=$folder} VELMORA_EXPECT_SDL=$kind \
            ctest --test-dir build --output-on-failure -j"$(nproc)" "${labels[@]}" || status=1
    done
    [ "$step" = inside-tests ] || exit $status
    echo "== Debian 13: the end-to-end walk on a Wayland desktop (sway with Xwayland)"
    bash tests/e2e/wayland/walk.sh "$PWD/build/velmora" "$PWD/build" "$PWD/build/tests/velmora_probe" \
        "$PWD/build/tests/velmora_wl_input" || status=1
    echo "== Debian 13: the game's cost on a display (a short run, figures only)"
    bash bench/live.sh build 1 1024x768 || status=1
    if [ "${VELMORA_DEBIAN13_WINDOWS:-1}" != 0 ]; then
        echo "== Debian 13: the Windows game under wine"
        version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
        bash tests/e2e/wine/e2e_windows.sh "build-win64/velmora-$version-win64.zip" \
            "build-win64/velmora-$version-win64-setup.exe" build/tests/velmora_probe build/velmora build ||
            status=1
    fi
    if [ "${VELMORA_DEBIAN13_WEB:-1}" = 1 ]; then
        echo "== Debian 13: the browser build's tests"
        bash tests/web/run.sh test || status=1
    fi
    exit $status
fi

codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
if [ "$codename" = trixie ]; then
    echo "== This machine runs Debian 13: the tests above ran on it"
    exit 0
fi
# Making a root, mounting and entering it are root's work; its cache is
# then root's (/root/.cache/velmora-debian13).
[ "$(id -u)" -eq 0 ] || exec sudo bash "$0" "$@"
started=$(date +%s)
if ! command -v debootstrap >/dev/null || ! command -v unshare >/dev/null ||
   ! command -v setpriv >/dev/null || ! command -v ip >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 update -q
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y -q \
        --no-install-recommends debootstrap util-linux iproute2
fi
# (The test command installs first, everything at once.)
[ "${1:-}" != --install-only ] || exit 0

# The Debian archive this machine already uses, and its security archive.
source scripts/debian-sources.sh
mirror=$(debian_archive debian)
mirror=${mirror:-http://deb.debian.org/debian}
security=$(debian_archive debian-security)
security=${security:-http://deb.debian.org/debian-security}

# Removes a root or a copy of the tree. The steps' mounts live in their own
# namespaces, but should anything be mounted below it here (a root entered
# by hand), rm would go on into this machine's /dev: refuse instead, and
# never leave the file system in any case.
remove_tree() {
    local path mounts
    for path in "$@"; do
        [ -e "$path" ] || continue
        path=$(realpath "$path")
        mounts=$(awk -v p="$path/" 'index($2 "/", p) == 1 { print $2 }' /proc/self/mounts)
        if [ -n "$mounts" ]; then
            echo "not removing $path: something is mounted below it: $mounts" >&2
            return 1
        fi
        rm -rf --one-file-system "$path"
    done
}

cache_base=${XDG_CACHE_HOME:-$HOME/.cache}/velmora-debian13
key=$(date +%G-w%V)
cache=$cache_base/$key
root=$cache/root
mkdir -p "$cache_base"
# Used under a shared lock, so that two test commands (CI beside a
# developer) use one root at once, each in its own namespaces and its own
# copy of the tree; made under an exclusive one, taken only when the root
# is missing (a made root never waits for the others' runs to end).
exec 8>"$cache.lock"
flock -s 8
[ -f "$cache/complete" ] || { flock -u 8; flock -x 8; }
if [ ! -f "$cache/complete" ]; then
    echo "== Debian 13: making a root in $root (debootstrap from $mirror)"
    t=$(date +%s)
    remove_tree "$cache"
    mkdir -p "$cache"
    debootstrap --variant=minbase trixie "$root" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
        { tail -n 20 "$cache/debootstrap.log" >&2; exit 1; }
    printf 'deb %s trixie main\ndeb %s trixie-updates main\ndeb %s trixie-security main\n' \
        "$mirror" "$mirror" "$security" >"$root/etc/apt/sources.list"
    mkdir -p "$root/work"
    touch "$cache/complete"
    echo "== Debian 13: root made in $(( $(date +%s) - t )) s"
fi
flock -s 8
# Roots of earlier weeks go once no test command uses them.
for other in "$cache_base"/*/; do
    other=${other%/}
    [ "$other" = "$cache" ] && continue
    exec 7>"$other.lock"
    if flock -n -x 7; then remove_tree "$other" && rm -f "$other.lock"; fi
    exec 7>&-
done

# Copies of the tree that a test command killed outright left behind: no
# process holds their lock any more.
for other in "$root"/work/run.*.lock; do
    [ -e "$other" ] || continue
    exec 7>>"$other"
    if flock -n -x 7; then remove_tree "${other%.lock}" && rm -f "$other"; fi
    exec 7>&-
done
# The tree as it stands (tracked files and new ones not ignored), without
# any build folder; locked while this run uses it.
run=$(mktemp -d "$root/work/run.XXXXXX")
exec 6>"$run.lock"
flock -x 6
inner=/work/$(basename "$run")
step_pid=
cleanup() {
    # The step's own namespace ends everything in it once its first
    # process is gone. (unshare ignores SIGTERM while it waits for it.)
    [ -z "$step_pid" ] || kill -KILL "$step_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    remove_tree "$run" && rm -f "$run.lock"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
git ls-files -z --cached --others --exclude-standard | tar --null -T - -c | tar -x -C "$run"
# The browser tests' npm packages (plain JavaScript, pinned by
# package-lock.json) as the pass here fetched them: the root fetches them
# only when they are not here.
if cmp -s tests/web/package-lock.json tests/web/node_modules/.velmora-lock; then
    cp -a tests/web/node_modules "$run/tests/web/"
fi

# Runs "scripts/debian13.sh STEP" in the root, in new mount and process
# namespaces (and a network namespace of its own when $2 is "isolated").
# Should this script die, even by SIGKILL, unshare gets SIGKILL
# (--pdeathsig), and unshare's end kills the namespace's first process
# (--kill-child), with which the kernel ends the rest.
in_root() {
    local step=$1 net=() niceness=0
    [ "${2:-}" = isolated ] && net=(--net)
    # The installs and builds yield to tests that watch the clock (the test
    # command runs this pass beside its others).
    [ "$step" = inside-setup ] || [ "$step" = inside-headless ] && niceness=10
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    nice -n "$niceness" setpriv --pdeathsig KILL unshare --mount --pid --kill-child --propagation private "${net[@]}" -- \
        bash -c 'set -e
            r=$1 net=$2; shift 2
            # A network of its own has its loopback down; the browser tests
            # serve the page on it.
            [ -z "$net" ] || ip link set lo up
            mount -t proc proc "$r/proc"
            mount --bind /sys "$r/sys"
            mount --bind /dev "$r/dev"
            mount --bind /dev/pts "$r/dev/pts"
            mount --bind /dev/shm "$r/dev/shm"
            exec chroot "$r" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
                HOME=/root LANG=C.UTF-8 VELMORA_DEBIAN13_WINDOWS="${VELMORA_DEBIAN13_WINDOWS:-1}" \
                VELMORA_DEBIAN13_WEB="${VELMORA_DEBIAN13_WEB:-1}" \
                VELMORA_TEST_RUN="${VELMORA_TEST_RUN:-}" \
                bash -c "cd $0 && exec bash scripts/debian13.sh $1"' \
        "$inner" "$root" "${net[*]}" "$step" &
    step_pid=$!
    local rc=0
    wait "$step_pid" || rc=$?
    step_pid=
    return $rc
}

t=$(date +%s)
echo "== Debian 13: installing what is missing and building (in $inner)"
in_root inside-setup
echo "== Debian 13: set-up and builds took $(( $(date +%s) - t )) s"
t=$(date +%s)
rc=0
in_root inside-headless isolated || rc=$?
echo "== Debian 13: the unit tests and replays took $(( $(date +%s) - t )) s"
# The test command starts this pass first, so that its set-up overlaps the
# other stages, and lets its walks go once its own are done: two walks side
# by side on two cores miss their moments.
if [ -n "${VELMORA_DEBIAN13_AFTER:-}" ]; then
    t=$(date +%s)
    while [ ! -e "$VELMORA_DEBIAN13_AFTER" ]; do sleep 2; done
    echo "== Debian 13: waited $(( $(date +%s) - t )) s for the other stages' walks"
fi
t=$(date +%s)
in_root inside-tests isolated || rc=$?
echo "== Debian 13: tests took $(( $(date +%s) - t )) s; the whole pass $(( $(date +%s) - started )) s"
exit $rc
