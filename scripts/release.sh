#!/usr/bin/env bash
# Builds every download of a release into dist/, named with the version of
# the CMake project: the source tarball, the Debian packages velmora (for
# this machine, arm64 and armhf) and velmora-data, the Windows zip and
# installer, the web zip (where scripts/web.sh exists) and SHA256SUMS; then
# prints a table of the files and their sizes.
#   bash scripts/release.sh
#   bash scripts/release.sh --verify DIR
#
# The same commit gives the same bytes wherever, whenever and by whomever it
# is built: every date in them is SOURCE_DATE_EPOCH, the commit's date, and
# the build folder, the umask, the locale and the time zone leave no trace.
# --verify checks that: it builds the release of this checkout's last
# commit again in a fresh clone, under another umask, time zone and locale,
# and compares each file with the one in DIR, printing where they differ
# (diffoscope); it fails if any file differs or lacks its twin. It then
# installs DIR's arm64 package in an emulated arm64 Debian 12 root and plays
# a short walk there (scripts/cross-arch.sh walk).
#
# Everything is built from the committed tree, which is why the tree must be
# clean: the tarball is made with git archive, unpacked under build-release/
# and built there with the README's command (scripts/build.sh) with the
# network cut off, which shows it builds offline; the other downloads are
# built from that same unpacked tree.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$(date +%s)

if [ "${1:-}" = --verify ]; then
    [ $# -eq 2 ] && [ -f "$2/SHA256SUMS" ] || {
        echo "usage: bash scripts/release.sh --verify DIR   (DIR: a release, with its SHA256SUMS)" >&2
        exit 2
    }
    theirs=$(realpath "$2")
    source scripts/cross-build.sh
    install_missing diffoscope-minimal
    fresh=$(mktemp -d /tmp/velmora-verify.XXXXXX)
    echo "== Building commit $(git rev-parse --short HEAD) again in $fresh/rebuilt"
    git clone -q --no-local --no-hardlinks "$root" "$fresh/rebuilt"
    git -C "$fresh/rebuilt" checkout -q --detach "$(git rev-parse HEAD)"
    (umask 077; export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 LANG=C.UTF-8
     bash "$fresh/rebuilt/scripts/release.sh") >"$fresh/release.log" 2>&1 || {
        tail -n 30 "$fresh/release.log" >&2
        echo "release.sh --verify: the release did not build again; the log is $fresh/release.log" >&2
        exit 1
    }
    ours=$fresh/rebuilt/dist
    differing=0
    echo "== $theirs beside the files built again"
    for f in $( (ls "$theirs"; ls "$ours") | LC_ALL=C sort -u); do
        if [ ! -f "$theirs/$f" ] || [ ! -f "$ours/$f" ]; then
            echo "   missing   $f (only in $([ -f "$theirs/$f" ] && echo "$theirs" || echo "the new build"))"
            differing=1
        elif cmp -s "$theirs/$f" "$ours/$f"; then
            echo "   same      $f"
        else
            echo "   DIFFERS   $f:"
            diffoscope --text - "$theirs/$f" "$ours/$f" 2>&1 | head -n 40 | sed 's/^/      /' || true
            differing=1
        fi
    done
    if [ "$differing" = 0 ]; then
        rm -rf "$fresh"
        echo "== Every file is the same"
    else
        echo "release.sh --verify: the files differ; the new build is kept in $fresh" >&2
    fi
    # The arm64 package as a player gets it, under emulation: too slow for
    # the test command on a new machine (the root alone takes minutes).
    echo "== The arm64 package installed with apt-get in an emulated Debian 12 arm64 root, and a short walk"
    bash scripts/cross-arch.sh walk "$theirs"/velmora_*_arm64.deb "$theirs"/velmora-data_*_all.deb || {
        echo "release.sh --verify: the arm64 package's walk failed" >&2
        differing=1
    }
    exit "$differing"
fi

git rev-parse --is-inside-work-tree >/dev/null 2>&1 || {
    echo "release.sh: $root is not a git checkout" >&2
    exit 1
}
if [ -n "$(git status --porcelain)" ]; then
    echo "release.sh: the tree has changes that are not committed, and the downloads are" >&2
    echo "made from the last commit; commit or stash them first:" >&2
    git status --short >&2
    exit 1
fi

version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release.sh: no version in CMakeLists.txt's project()" >&2; exit 1; }
name=velmora-$version
dist=$root/dist
work=$root/build-release
rm -rf "$dist" "$work"
mkdir -p "$dist" "$work"
# Every date in the downloads; the tools that date their output read it
# too (CPack, ld, strip, dpkg-deb).
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
echo "== Velmora $version from commit $(git rev-parse --short HEAD) of $(date -u -d "@$SOURCE_DATE_EPOCH" '+%F %T') UTC"

echo "== The source tarball"
# git archive dates the members with the commit; the modes and gzip (no
# name, no date) are set here, not by the user's git settings or version.
git -c tar.umask=0022 archive --format=tar --prefix="$name/" HEAD | gzip -9n >"$dist/$name.tar.gz"
tar -xzf "$dist/$name.tar.gz" -C "$work"
src=$work/$name

echo "== The Debian packages, built from the tarball without network"
# What the build needs is installed first, with the network; the build
# itself then runs in a network namespace of its own where one can be made.
bash "$src/scripts/install-deps.sh"
offline=()
if unshare --net true 2>/dev/null; then
    offline=(unshare --net)
else
    echo "   (no network namespace can be made here: building with the network on)"
fi
(cd "$src" && "${offline[@]}" bash scripts/build.sh) >"$work/build.log" 2>&1 || {
    tail -n 30 "$work/build.log" >&2
    echo "release.sh: the source tarball does not build; the whole log is $work/build.log" >&2
    exit 1
}
(cd "$src/build" && cpack -G DEB -B "$work/deb") >"$work/cpack.log" 2>&1 || {
    tail -n 30 "$work/cpack.log" >&2
    exit 1
}
arch=$(dpkg --print-architecture)
cp "$work/deb/velmora_${version}_$arch.deb" "$work/deb/velmora-data_${version}_all.deb" "$dist/"

echo "== The velmora packages for arm64 and armhf (Raspberry Pi OS, ARM Chromebooks), cross-built"
# velmora-data is the one above, for every architecture.
(cd "$src" && bash scripts/cross-arch.sh debs "$dist") >"$work/cross-arch.log" 2>&1 || {
    tail -n 30 "$work/cross-arch.log" >&2
    exit 1
}

echo "== The Windows zip and installer"
(cd "$src" && bash scripts/windows.sh) >"$work/windows.log" 2>&1 || {
    tail -n 30 "$work/windows.log" >&2
    exit 1
}
cp "$src/build-win64/$name-win64.zip" "$src/build-win64/$name-win64-setup.exe" "$dist/"

if [ -f "$src/scripts/web.sh" ]; then
    echo "== The web zip"
    (cd "$src" && bash scripts/web.sh) >"$work/web.log" 2>&1 || {
        tail -n 30 "$work/web.log" >&2
        exit 1
    }
    cp "$src/build-web/$name-web.zip" "$dist/"
else
    echo "== No web zip: this tree has no scripts/web.sh"
fi

# The game's licence is in every download (the installer is made from the
# same folder as the zip). Whole listings are read before grep: under
# pipefail, grep -q leaving early would fail the pipe.
licence_missing() { echo "release.sh: $1 lacks the game's licence" >&2; exit 1; }
grep -qx "$name/LICENSE" <<<"$(tar -tzf "$dist/$name.tar.gz")" || licence_missing "$name.tar.gz"
for deb in "$dist"/*.deb; do
    package=$(dpkg-deb -f "$deb" Package)
    copyright=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/doc/$package/copyright" 2>/dev/null) ||
        licence_missing "$(basename "$deb")"
    grep -q '^License: Expat' <<<"$copyright" || licence_missing "$(basename "$deb")"
done
grep -q " $name-win64/LICENSE.txt$" <<<"$(unzip -l "$dist/$name-win64.zip")" || licence_missing "$name-win64.zip"
if [ -f "$dist/$name-web.zip" ]; then
    grep -qE ' ([^ ]*/)?LICENSE(\.txt)?$' <<<"$(unzip -l "$dist/$name-web.zip")" || licence_missing "$name-web.zip"
fi

files=$(cd "$dist" && LC_ALL=C ls)
(cd "$dist" && sha256sum -- $files >SHA256SUMS)

echo "== dist/ after $(($(date +%s) - started)) s:"
printf '%-40s %12s\n' file bytes
(cd "$dist" && for f in $(LC_ALL=C ls); do printf '%-40s %12s\n' "$f" "$(stat -c %s "$f")"; done)
