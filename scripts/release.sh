#!/usr/bin/env bash
# Builds every download of a release into dist/, named with the version of
# the CMake project: the source tarball, the Debian packages velmora and
# velmora-data, the Windows zip and installer, the web zip (where
# scripts/web.sh exists) and SHA256SUMS; then prints a table of the files
# and their sizes.
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
echo "== Velmora $version from commit $(git rev-parse --short HEAD)"

echo "== The source tarball"
git archive --format=tar.gz --prefix="$name/" -o "$dist/$name.tar.gz" HEAD
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

(cd "$dist" && sha256sum -- * >SHA256SUMS)

echo "== dist/ after $(($(date +%s) - started)) s:"
printf '%-40s %12s\n' file bytes
(cd "$dist" && for f in *; do printf '%-40s %12s\n' "$f" "$(stat -c %s "$f")"; done)
