#!/usr/bin/env bash
# Downloads that anyone can rebuild bit for bit, checked where it is cheap
# (scripts/release.sh --verify rebuilds everything at release time):
# - the two .debs from the test command's build/ and from a second build of
#   this tree in another folder, minutes later, under another umask, time
#   zone and locale: the same bytes;
# - the Windows and web zips made twice from the files of the builds the
#   test command made before (build-win64/, build-web/), under the same
#   changes: the same bytes;
# - no folder of this machine inside any of them.
#   bash tests/release/same_downloads.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/cross-build.sh"
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(source_date_epoch)
work=$(mktemp -d /tmp/velmora-same.XXXXXX)
trap 'rm -rf "$work"' EXIT
failed=0
differ() { echo "FAIL: $*" >&2; failed=1; }

# A copy of the tree as it stands, committed or not.
mkdir -p "$work/second folder/tree"
(cd "$root" && git ls-files -z --cached --others --exclude-standard | tar --null -T - -c) |
    tar -x -C "$work/second folder/tree"

# The game and its packages from build/ (made by the test command, or here
# if missing), and from a build of the copy with the tests left out.
debs() {
    local tree=$1 out=$2 tests=$3
    [ "$tests" = OFF ] || [ ! -f "$tree/build/CMakeCache.txt" ] || tests=
    { [ -z "$tests" ] || cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DVELMORA_TESTS="$tests" -DVELMORA_BENCH="$tests"; } >"$out.log" 2>&1 &&
    cmake --build "$tree/build" -j"$(nproc)" >>"$out.log" 2>&1 &&
    (cd "$tree/build" && cpack -G DEB -B "$out") >>"$out.log" 2>&1 ||
        { tail -n 20 "$out.log" >&2; echo "FAIL: the packages did not build in $tree" >&2; exit 1; }
}
echo "== The .debs, built twice"
debs "$root" "$work/debs-a" ON
(umask 077; export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8; debs "$work/second folder/tree" "$work/debs-b" OFF)

# The zips, made twice from the files that went into the builds' own.
rezip() {
    local from=$1 name=$2 out=$3
    mkdir -p "$out"
    cp -r "$from" "$out/$name"
    zip_same_bytes "$out" "$name" "$out/$name.zip"
}
version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
zips=()
for kind in win64 web; do
    name=velmora-$version-$kind
    case $kind in
        win64) from=$root/build-win64/stage/$name ;;
        web) from=$root/build-web-work/stage/$name ;;
    esac
    [ -d "$from" ] || { echo "   (no $from: the $kind zip is not checked)"; continue; }
    echo "== The $kind zip, made twice"
    (umask 022; export TZ=UTC LC_ALL=C; rezip "$from" "$name" "$work/zip-a")
    sleep 1
    (umask 077; export TZ=America/St_Johns LC_ALL=C.UTF-8; rezip "$from" "$name" "$work/zip-b")
    zips+=("$name.zip")
    cmp -s "$work/zip-a/$name.zip" "$root/build-$kind/$name.zip" ||
        differ "$name.zip differs from the one in build-$kind/"
done

for f in $(cd "$work/debs-a" && ls ./*.deb) "${zips[@]/#/zip-a/}"; do
    case $f in zip-a/*) a=$work/$f; b=$work/zip-b/${f#zip-a/} ;; *) a=$work/debs-a/$f; b=$work/debs-b/$f ;; esac
    if cmp -s "$a" "$b"; then
        echo "   same: $(basename "$f") ($(stat -c %s "$a") bytes)"
    else
        differ "$(basename "$f") differs between the two builds"
        command -v diffoscope >/dev/null && diffoscope --text - "$a" "$b" 2>&1 | head -n 40 >&2
    fi
done

# The folders the files were built in, and this tree's, named nowhere in
# them (unpacked, as they are compressed).
echo "== No build folder named in the downloads"
mkdir -p "$work/unpacked"
for deb in "$work"/debs-b/*.deb; do dpkg-deb -x "$deb" "$work/unpacked/$(basename "$deb")"; done
for f in "${zips[@]}"; do unzip -q "$work/zip-b/$f" -d "$work/unpacked/$f"; done
for path in "$work/second folder/tree" "$root"; do
    found=$(grep -rlaF "$path" "$work/unpacked" || true)
    [ -z "$found" ] || differ "$path is named in: ${found//$work\/unpacked\//}"
done
[ "$failed" = 0 ] && echo "PASS: the same bytes, and no build folder in them"
exit "$failed"
