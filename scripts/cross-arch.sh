#!/usr/bin/env bash
# The game on other processors: arm64 and armhf (ARM boards such as the
# Raspberry Pi, ARM Chromebooks) and s390x (64-bit and big-endian), each
# cross-built with Debian's cross compilers against that architecture's own
# Debian 12 libraries (platform/linux/sysroot.sh unpacks them, without
# emulation, under ~/.cache/velmora-ARCH/, keyed by their versions), into
# build-ARCH/.
#
#   bash scripts/cross-arch.sh test [ARCH...]
#       builds each (arm64 armhf s390x by default) and runs its unit and
#       headless tests (rules, replays, scripted sessions) under qemu-user,
#       the very test programs of the native build; the end-to-end tests and
#       valgrind stay with the native build
#   bash scripts/cross-arch.sh sysroot [ARCH...]
#       only unpacks each one's libraries (the downloads)
#   bash scripts/cross-arch.sh debs DIR [ARCH...]
#       the velmora package of each (arm64 armhf by default) into DIR, its
#       dependencies worked out from the target's libraries
#   bash scripts/cross-arch.sh data [ARCH...]
#       draws data/ with the asset generator built for each, run under
#       qemu-user, and compares it with this machine's, file by file
#   bash scripts/cross-arch.sh walk [DEB DATA_DEB]
#       installs the arm64 packages (by default this tree's) with apt-get in
#       an emulated Debian 12 arm64 root and plays a short walk there under
#       Xvfb
#
# The native build (build/, scripts/build.sh) draws the data and the icons
# for every architecture: the packages ship this machine's data/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/cross-build.sh
source scripts/debian-sources.sh

# Each architecture's libraries (and the tests' and asset generator's).
sysroot_packages=(libsdl1.2-dev libsdl-ttf2.0-dev libsdl-mixer1.2-dev libfreetype-dev libx11-dev
                  libgtest-dev libcairo2-dev libsndfile1-dev)

triplet_of() {
    case $1 in
        arm64) echo aarch64-linux-gnu ;;
        armhf) echo arm-linux-gnueabihf ;;
        s390x) echo s390x-linux-gnu ;;
        *) echo "cross-arch.sh: no such architecture '$1' (arm64, armhf, s390x)" >&2; return 1 ;;
    esac
}

# Sets sysroot to ARCH's libraries, unpacking them first unless that was
# done. The key is the versions this machine's archive offers of them (the
# other architectures have the same sources), so an update of the archive
# makes a new one.
use_sysroot() {
    local arch=$1 key mirror security
    install_missing mmdebstrap qemu-user "g++-$(triplet_of "$arch")" dpkg-dev
    key=$( { echo "$arch"; apt-cache policy "${sysroot_packages[@]}" libc6 libstdc++6 | grep -E '^[^ ]|Candidate';
             cat platform/linux/sysroot.sh; } | sha256sum | cut -c1-16)
    mirror=$(debian_archive debian)
    security=$(debian_archive debian-security)
    cached_prefix "$arch" "$key" "the $arch libraries" platform/linux/sysroot.sh "$arch" \
        "${mirror:-http://deb.debian.org/debian}" "${security:-http://deb.debian.org/debian-security}" \
        bookworm "${sysroot_packages[@]}"
    sysroot=$prefix
}

# Cross-builds build-ARCH (the game and its tests), with the native
# build's asset generator and icon drawer.
build_arch() {
    local arch=$1 kind=${2:-} t dir flags=()
    shift 2 || shift
    dir=build-$arch${kind:+-$kind}
    # The test builds keep the packages' -O2 but not their debugging data,
    # a quarter of the compiler's time (arm64: 160 s of processor against
    # 120 s): nobody debugs them under emulation.
    [ -n "$kind" ] || flags=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG")
    use_sysroot "$arch"
    t=$(date +%s)
    [ -f build/velmora-native-tools.cmake ] || bash scripts/build.sh velmora_make_assets velmora_make_icon
    cmake --build build -j2 --target velmora_make_assets velmora_make_icon >/dev/null
    # A build folder made against another sysroot starts afresh (CMake
    # keeps pkg-config's answers).
    if [ -f "$dir/CMakeCache.txt" ] &&
       ! grep -qxF "VELMORA_SYSROOT:PATH=$sysroot" "$dir/CMakeCache.txt"; then
        rm -rf "$dir"
    fi
    mkdir -p "$dir"
    VELMORA_DEB_ARCH=$arch VELMORA_SYSROOT=$sysroot \
        cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/platform/linux/toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_NATIVE_TOOLS="$root/build/velmora-native-tools.cmake" \
        "${flags[@]}" "$@" \
        >"$dir/configure.log" 2>&1 || { tail -n 30 "$dir/configure.log" >&2; return 1; }
    nice -n 10 cmake --build "$dir" -j2 >"$dir/build.log" 2>&1 ||
        { grep -E 'error|Error' "$dir/build.log" | head -n 30 >&2; return 1; }
    echo "== $dir: built in $(( $(date +%s) - t )) s"
}

test_arch() {
    local arch=$1 t
    build_arch "$arch"
    t=$(date +%s)
    echo "== $arch: the unit and headless tests under qemu-user"
    # The end-to-end tests drive the native build; valgrind cannot run
    # under qemu.
    ctest --test-dir "build-$arch" --output-on-failure -j2 -LE 'e2e|valgrind' \
        -E '^(leftover_check|platform_layering)$' >"build-$arch/test.log" 2>&1 ||
        { grep -vE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "build-$arch/test.log" | tail -n 60 >&2
          echo "== $arch: tests FAILED (whole log: build-$arch/test.log)" >&2; return 1; }
    echo "== $arch: $(grep -E 'tests passed' "build-$arch/test.log") in $(( $(date +%s) - t )) s"
}

# The velmora package of ARCH into OUT, from a build without the tests;
# lintian checks it as the native package's test does.
debs_arch() {
    local arch=$1 out=$2 version deb
    build_arch "$arch" deb -DVELMORA_TESTS=OFF
    version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
    rm -rf "build-$arch-deb/cpack"
    (cd "build-$arch-deb" && cpack -G DEB -B "$PWD/cpack") >"build-$arch-deb/cpack.log" 2>&1 ||
        { tail -n 30 "build-$arch-deb/cpack.log" >&2; return 1; }
    deb=build-$arch-deb/cpack/velmora_${version}_$arch.deb
    [ "$(dpkg-deb -f "$deb" Architecture)" = "$arch" ] || { echo "$deb: not for $arch" >&2; return 1; }
    # dpkg-shlibdeps finding no package for a library leaves it out of
    # Depends without failing CPack.
    for p in libc6 libsdl1.2debian libsdl-ttf2.0-0 libsdl-mixer1.2; do
        grep -Eq "(^|, )$p( |,|$)" <<<"$(dpkg-deb -f "$deb" Depends)" ||
            { echo "$deb: Depends lacks $p: $(dpkg-deb -f "$deb" Depends)" >&2; return 1; }
    done
    lintian --fail-on error,warning -I -E --pedantic "$deb" >"build-$arch-deb/lintian.log" 2>&1 ||
        { cat "build-$arch-deb/lintian.log" >&2; return 1; }
    cp "$deb" "$out/"
    echo "== $arch: $(basename "$deb"), $(stat -c %s "$deb") bytes; Depends: $(dpkg-deb -f "$deb" Depends)"
}

# data/ drawn by ARCH's own generator under qemu-user beside this
# machine's: prints each file that differs and how many of its bytes do.
data_arch() {
    local arch=$1 f differing=0
    bash scripts/build.sh assets >/dev/null
    build_arch "$arch" data -DVELMORA_TESTS=OFF -DVELMORA_TOOLS_EMULATED=ON
    for f in $(cd build/data && LC_ALL=C ls); do
        if cmp -s "build/data/$f" "build-$arch-data/data/$f"; then
            continue
        fi
        differing=$((differing + 1))
        echo "   $arch: $f differs in $(cmp -l "build/data/$f" "build-$arch-data/data/$f" 2>/dev/null | wc -l)" \
             "of $(stat -c %s "build/data/$f") bytes"
    done
    echo "== $arch: $differing of $(ls build/data | wc -l) files of data/ differ from this machine's"
}

# Lets this machine run another processor's programs by their name, as the
# emulated root needs (qemu-user-static through binfmt_misc).
register_binfmt() {
    local cpu=$1 conf
    conf=/usr/lib/binfmt.d/qemu-$cpu.conf
    [ -d /proc/sys/fs/binfmt_misc ] || return 1
    [ -e /proc/sys/fs/binfmt_misc/register ] ||
        mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    [ -e "/proc/sys/fs/binfmt_misc/qemu-$cpu" ] || cat "$conf" >/proc/sys/fs/binfmt_misc/register
}

# A Debian 12 arm64 root (debootstrap, minbase) under emulation, kept
# under ~/.cache/velmora-arm64-root/ a week at a time; each walk works in
# a copy of it. The packages are installed there with apt-get, which
# fetches their dependencies, and the game, started by its launcher in
# the root, plays tests/e2e/arm64/walk.sh on an X server of this machine.
# Everything runs in mount and process namespaces of its own: when it
# ends, the kernel ends what it left and drops its mounts.
walk_arm64() {
    local deb=$1 data_deb=$2 cache_base cache t run mirror security rc=0
    [ "$(id -u)" -eq 0 ] || { echo "cross-arch.sh walk: making and entering a root is root's work" >&2; return 1; }
    install_missing debootstrap qemu-user-static util-linux xvfb xauth xdotool openbox imagemagick x11-utils
    register_binfmt aarch64 || { echo "cross-arch.sh walk: no binfmt_misc here" >&2; return 1; }
    [ -x build/tests/velmora_probe ] && [ -f build/data/.generated ] || bash scripts/build.sh velmora_probe assets
    mirror=$(debian_archive debian)
    mirror=${mirror:-http://deb.debian.org/debian}
    security=$(debian_archive debian-security)
    security=${security:-http://deb.debian.org/debian-security}
    cache_base=${XDG_CACHE_HOME:-$HOME/.cache}/velmora-arm64-root
    cache=$cache_base/$(date +%G-w%V)
    mkdir -p "$cache_base"
    exec 8>"$cache.lock"
    flock 8
    if [ ! -f "$cache/complete" ]; then
        t=$(date +%s)
        echo "== arm64: making a Debian 12 root in $cache/root (debootstrap under emulation)"
        rm -rf --one-file-system "$cache"
        mkdir -p "$cache"
        debootstrap --arch=arm64 --variant=minbase bookworm "$cache/root" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
            { tail -n 20 "$cache/debootstrap.log" >&2; return 1; }
        printf 'deb %s bookworm main\ndeb %s bookworm-updates main\ndeb %s bookworm-security main\n' \
            "$mirror" "$mirror" "$security" >"$cache/root/etc/apt/sources.list"
        touch "$cache/complete"
        echo "== arm64: root made in $(( $(date +%s) - t )) s"
    fi
    run=$(mktemp -d /tmp/velmora-arm64-root.XXXXXX)
    t=$(date +%s)
    cp -a "$cache/root" "$run/root"
    exec 8>&-
    cp "$deb" "$data_deb" "$run/root/tmp/"
    cp /etc/resolv.conf "$run/root/etc/resolv.conf"
    # The game as a player starts it: the launcher on the PATH, from a
    # folder of the player's.
    cat >"$run/game" <<GAME
#!/bin/sh
exec chroot "$run/root" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/games HOME=/root \\
    LANG=C.UTF-8 DISPLAY="\$DISPLAY" SDL_AUDIODRIVER=dummy sh -c 'mkdir -p /root/games && cd /root/games && exec velmora'
GAME
    chmod +x "$run/game"
    setpriv --pdeathsig KILL unshare --mount --pid --fork --kill-child --propagation private -- bash -c '
        set -e
        run=$1 root=$2 deb=$3 data_deb=$4 t=$5
        r=$run/root
        mount -t proc proc "$r/proc"
        for d in /sys /dev /dev/pts /dev/shm; do mount --bind "$d" "$r$d"; done
        mkdir -p /tmp/.X11-unix "$r/tmp/.X11-unix"
        mount --bind /tmp/.X11-unix "$r/tmp/.X11-unix"
        chroot "$r" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive sh -c "
            apt-get -q update >/tmp/apt.log 2>&1 &&
            apt-get install -y -q --no-install-recommends /tmp/$(basename "$deb") /tmp/$(basename "$data_deb")                 >>/tmp/apt.log 2>&1" || { tail -n 20 "$r/tmp/apt.log" >&2; exit 1; }
        echo "== arm64: $(basename "$deb") and $(basename "$data_deb") installed with apt-get"              "($(grep -c "^Setting up" "$r/tmp/apt.log") packages) in $(( $(date +%s) - t )) s"
        t=$(date +%s)
        bash "$root/tests/e2e/arm64/walk.sh" "$run/game" "$root/build" "$root/build/tests/velmora_probe"
        echo "== arm64: the walk took $(( $(date +%s) - t )) s"
    ' bash "$run" "$root" "$deb" "$data_deb" "$t" || rc=$?
    rm -rf --one-file-system "$run"
    return $rc
}

command=${1:-}
shift || true
case $command in
    test)
        [ $# -gt 0 ] || set -- arm64 armhf s390x
        status=0
        for arch in "$@"; do test_arch "$arch" || status=1; done
        exit $status ;;
    sysroot)
        [ $# -gt 0 ] || set -- arm64 armhf s390x
        for arch in "$@"; do use_sysroot "$arch"; done ;;
    debs)
        [ $# -ge 1 ] || { echo "usage: bash scripts/cross-arch.sh debs DIR [ARCH...]" >&2; exit 2; }
        out=$(realpath "$1")
        shift
        [ $# -gt 0 ] || set -- arm64 armhf
        mkdir -p "$out"
        for arch in "$@"; do debs_arch "$arch" "$out"; done ;;
    data)
        [ $# -gt 0 ] || set -- arm64 armhf s390x
        for arch in "$@"; do data_arch "$arch"; done ;;
    walk)
        if [ $# -eq 0 ]; then
            # The packages of this tree: arm64's, and velmora-data, which
            # its build makes as the native one does (this machine's data).
            mkdir -p build-arm64-walk
            debs_arch arm64 build-arm64-walk
            set -- build-arm64-walk/velmora_*_arm64.deb build-arm64-deb/cpack/velmora-data_*_all.deb
        fi
        [ $# -eq 2 ] || { echo "usage: bash scripts/cross-arch.sh walk [DEB DATA_DEB]" >&2; exit 2; }
        walk_arm64 "$(realpath "$1")" "$(realpath "$2")" ;;
    *)
        sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
        exit 2 ;;
esac
