# What the Windows and browser builds share; sourced by scripts/windows.sh
# and scripts/web.sh:
#
#   install_missing PACKAGE...
#       installs those of the Debian packages that are not installed
#   cached_prefix KIND KEY WHAT SCRIPT ARG...
#       sets cache and prefix to ~/.cache/velmora-KIND/KEY and its prefix/,
#       and unless that build is complete runs
#       bash SCRIPT "$prefix" WORK_FOLDER ARG... to make it

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
