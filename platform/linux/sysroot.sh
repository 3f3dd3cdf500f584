#!/usr/bin/env bash
# Unpacks another architecture's Debian libraries (what the game, its tests
# and the asset generator link) into SYSROOT, without emulation:
# mmdebstrap's "extract" variant fetches the packages and their dependencies
# and only unpacks them. Beside them, SYSROOT/var/lib/velmora-dpkg is a dpkg
# database of those packages (their file lists under SYSROOT, their symbols
# and shlibs files), for dpkg-shlibdeps to work out the package's
# dependencies from the target's own libraries.
# Usage: sysroot.sh SYSROOT WORKDIR ARCH MIRROR SECURITY_MIRROR SUITE PACKAGE...
set -euo pipefail
sysroot=$1 work=$2 arch=$3 mirror=$4 security=$5 suite=$6
shift 6
rm -rf "$sysroot" "$work"
mkdir -p "$work"
packages=$(IFS=,; echo "$*")
mmdebstrap --variant=extract --architectures="$arch" --skip=cleanup/apt/cache --include="$packages" \
    "$suite" "$sysroot" "deb $mirror $suite main" "deb $mirror $suite-updates main" \
    "deb $security $suite-security main" >"$work/mmdebstrap.log" 2>&1 ||
    { tail -n 20 "$work/mmdebstrap.log" >&2; exit 1; }

admin=$sysroot/var/lib/velmora-dpkg
mkdir -p "$admin/info" "$admin/updates"
: >"$admin/status"
# Multi-Arch names (libc6:arm64.list), as dpkg's own database has them.
echo 1 >"$admin/info/format"
for deb in "$sysroot"/var/cache/apt/archives/*.deb; do
    dpkg-deb -f "$deb" >"$work/control"
    package=$(dpkg-deb -f "$deb" Package)
    name=$package
    [ "$(dpkg-deb -f "$deb" Multi-Arch)" != same ] || name=$package:$arch
    { cat "$work/control"; echo "Status: install ok installed"; echo; } >>"$admin/status"
    # The files as they lie under SYSROOT; /lib and /usr/lib are one folder
    # (merged /usr), and a library is looked up under either.
    dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -n 's|^\./\(.*[^/]\)/*$|/\1|p' |
        sed -E "s|^/(lib\|bin\|sbin)/(.*)|/\1/\2\n/usr/\1/\2|; s|^|$sysroot|" >"$admin/info/$name.list"
    rm -rf "$work/ctrl"
    dpkg-deb -e "$deb" "$work/ctrl"
    for f in symbols shlibs; do
        [ ! -f "$work/ctrl/$f" ] || cp "$work/ctrl/$f" "$admin/info/$name.$f"
    done
done
rm -rf "$sysroot"/var/cache/apt/archives/*.deb "$sysroot"/usr/share/{doc,man,locale,info}
