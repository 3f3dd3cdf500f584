# Debian's source packages for the libraries the Windows and browser builds
# make themselves, from the archive this machine already uses. Sourced by
# scripts/windows.sh and scripts/web.sh (and scripts/debian13.sh for the first):
#
#   debian_archive NAME    the archive this machine uses for NAME
#   debian_sources         deb-src entries for Debian 12 (bookworm), whose
#                          classic SDL 1.2 is the last there is, and for this
#                          machine's own release, once
#   freetype_source        prints the apt-get source name of the FreeType
#                          this machine's libfreetype6 was built from
#   font_terms DEST        copies the terms of the Liberation font the
#                          builds ship into the folder DEST
#
# Their texts are compared pixel for pixel with the Linux game's, which
# SDL_ttf draws through libfreetype6: the same FreeType release keeps that
# comparison like with like (Debian 12 has 2.12.1, Debian 13 2.13.3).

# The archive this machine already uses for Debian ("debian") or its
# security updates ("debian-security"); empty where it names none.
debian_archive() {
    { grep -hE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list \
          /etc/apt/sources.list 2>/dev/null || true; } |
        grep -oE 'https?://[^ ]+' | grep -m1 -E "/$1/?\$" || true
}

debian_codename() { (. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}"); }

debian_sources() {
    local codename uri security_uri suites sudo_cmd=()
    codename=$(debian_codename)
    apt-get source --print-uris -q libsdl1.2/bookworm >/dev/null 2>&1 &&
        apt-get source --print-uris -q "freetype/$codename" >/dev/null 2>&1 && return 0
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    uri=$(debian_archive debian)
    uri=${uri:-http://deb.debian.org/debian}
    security_uri=$(debian_archive debian-security)
    suites=bookworm
    [ "$codename" = bookworm ] || suites="bookworm $codename $codename-updates"
    entry() {
        printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' "$1" "$2"
    }
    { entry "$uri" "$suites"
      [ -z "$security_uri" ] || { echo; entry "$security_uri" "$codename-security"; }
    } | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/velmora-src.sources >/dev/null
    "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=900 update -q
}

# The very source of libfreetype6 or, where the archive no longer serves it
# (a mirror may list a security update before it holds its source), another
# Debian revision of the same FreeType release, the newest first; failing
# those, this release's.
freetype_source() {
    local installed tmp v uri
    installed=$(dpkg-query -W -f='${source:Version}' libfreetype6)
    tmp=$(mktemp -d)
    for v in "$installed" $(apt-cache showsrc freetype | sed -n 's/^Version: //p' |
                            grep -F "${installed%-*}-" | grep -vxF "$installed" | sort -rV); do
        uri=$(apt-get source --print-uris -q "freetype=$v" 2>/dev/null | awk '$2 ~ /\.dsc$/ { print $1 }' | tr -d "'")
        if [ -n "$uri" ] && /usr/lib/apt/apt-helper download-file "$uri" "$tmp/freetype.dsc" >/dev/null 2>&1; then
            rm -rf "$tmp"
            echo "freetype=$v"
            return
        fi
    done
    rm -rf "$tmp"
    echo "note: no source of FreeType ${installed%-*} can be fetched; building $(debian_codename)'s" >&2
    echo "freetype/$(debian_codename)"
}

# The .dsc file names (source package and version) that apt-get source
# would fetch for each name given.
source_versions() {
    local p
    for p in "$@"; do
        apt-get source --print-uris -q "$p" | awk '$2 ~ /\.dsc$/ { print $2 }'
    done
}

# The font is the system's Liberation Sans: Debian 12's 1.07 is under the
# GPL version 2 with Red Hat's exceptions, so its text goes beside the
# package's copyright file; Liberation 2.x (Debian 13) is under the SIL Open
# Font License, whose whole text that file carries.
font_terms() {
    local terms=/usr/share/doc/fonts-liberation/copyright
    cp "$terms" "$1/LiberationFonts-copyright.txt"
    grep -q 'Open Font License' "$terms" || cp /usr/share/common-licenses/GPL-2 "$1/LiberationFonts-GPL-2.txt"
}
