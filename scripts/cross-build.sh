# What the Windows and browser builds share; sourced by scripts/windows.sh
# and scripts/web.sh:
#
#   install_missing PACKAGE...
#       installs those of the Debian packages that are not installed
#   cached_prefix KIND KEY WHAT SCRIPT ARG...
#       sets cache and prefix to ~/.cache/velmora-KIND/KEY and its prefix/,
#       and unless that build is complete runs
#       bash SCRIPT "$prefix" WORK_FOLDER ARG... to make it
#   source_date_epoch
#       prints the date that every file of a download carries
#   zip_same_bytes DIR NAME ZIP
#       zips the folder NAME below DIR into ZIP, the same bytes from the
#       same files whenever and wherever it runs

install_missing() {
    local p missing=() sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 update -q
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
}

# The libraries live outside the clone, keyed by what they are built from
# and with, so that a new clone reuses them.
cached_prefix() {
    local kind=$1 key=$2 what=$3 script=$4 start other
    shift 4
    cache=${XDG_CACHE_HOME:-$HOME/.cache}/velmora-$kind/$key
    prefix=$cache/prefix
    # Two builds on one machine (two clones, or CI beside a developer) share
    # it: the second waits while the first builds it.
    mkdir -p "$(dirname "$cache")"
    exec 9>"$cache.lock"
    flock 9
    if [ -f "$cache/complete" ]; then
        echo "== Reusing $what in $prefix"
        touch "$cache/complete"
    else
        echo "== Building $what into $prefix (key $key)"
        start=$(date +%s)
        rm -rf "$cache"
        bash "$script" "$prefix" "$cache/work" "$@"
        rm -rf "$cache/work"
        touch "$cache/complete"
        echo "== Built in $(( $(date +%s) - start )) s"
    fi
    exec 9>&-
    # Finished builds of other keys that no build has used for a month go
    # (unfinished ones may be another build's work in progress).
    for other in "$(dirname "$cache")"/*/; do
        other=${other%/}
        if [ "$other" != "$cache" ] && [ -f "$other/complete" ] &&
           [ -z "$(find "$other/complete" -mtime -30)" ]; then
            rm -rf "$other" "$other.lock"
        fi
    done
}

# SOURCE_DATE_EPOCH when set (scripts/release.sh sets the commit's date),
# else the date of the tree's last commit, else that of the newest entry
# of packaging/changelog (an unpacked tarball has no history).
source_date_epoch() {
    local epoch=${SOURCE_DATE_EPOCH:-}
    [ -n "$epoch" ] || epoch=$(git -C "$root" log -1 --format=%ct 2>/dev/null) || epoch=
    [ -n "$epoch" ] || epoch=$(date -u -d "$(sed -n 's/^ -- .*>  //p' "$root/packaging/changelog" | head -n 1)" +%s)
    echo "$epoch"
}

# zip stores what the folder says of each file: its order on the disk, its
# date in local time, its mode under the umask of the moment. Each of these
# is fixed first: modes 755 for folders and programs, 644 for the rest, every
# date source_date_epoch's, members in byte order, times read in UTC; -X
# leaves out the extra fields (owners, exact times).
zip_same_bytes() {
    local dir=$1 name=$2 zip=$3 epoch
    epoch=$(source_date_epoch)
    rm -f "$zip"
    (cd "$dir" &&
     chmod -R u=rwX,go=rX "$name" &&
     find "$name" -exec touch -h -d "@$epoch" {} + &&
     find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$zip")
}
