# The Debian packages (the game and its data): built from the build folder,
# checked by lintian, appstreamcli, desktop-file-validate and man, installed
# on this machine with dpkg; the installed launcher started from an unrelated
# folder shows the main menu and quits cleanly; both are removed at the end.
# Needs root (or sudo without a password): it really installs the package.
source "$(dirname "$0")/lib.sh" "$@"

as_root=()
if [ "$(id -u)" != 0 ]; then
    sudo -n true 2>/dev/null || fail "installing a package needs root or sudo without a password"
    as_root=(sudo -n)
fi

# Two runs at once would install and remove under each other.
exec 9>/tmp/velmora-e2e-install.lock
flock -w 240 9 || fail "another package test holds the lock"

# --- Build the packages (into this test's folder, not the build folder).
(cd "$BUILD_DIR" && cpack -G DEB -B "$WORK/pkg" >"$WORK/cpack.log" 2>&1) ||
    fail "cpack: $(tail -n 20 "$WORK/cpack.log")"
DEB=$(ls "$WORK"/pkg/velmora_*.deb 2>/dev/null | head -n 1)
DATA_DEB=$(ls "$WORK"/pkg/velmora-data_*_all.deb 2>/dev/null | head -n 1)
[ -n "$DEB" ] && [ -n "$DATA_DEB" ] || fail "not both packages made: $(ls "$WORK/pkg"; tail -n 5 "$WORK/cpack.log")"
echo "packages: $(basename "$DEB") $(stat -c %s "$DEB") bytes, $(basename "$DATA_DEB") $(stat -c %s "$DATA_DEB") bytes"

# Debian's own checks: no error or warning from lintian at its most
# thorough; information and pedantic notes are shown, not failed.
lintian --fail-on error,warning -I -E --pedantic "$DEB" "$DATA_DEB" >"$WORK/lintian.log" 2>&1 ||
    fail "lintian: $(grep -v 'running with root privileges' "$WORK/lintian.log")"
grep -v 'running with root privileges' "$WORK/lintian.log" | sed 's/^/lintian: /'

field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = velmora ] || fail "package name '$(field Package)'"
[ "$(field Section)" = games ] || fail "section '$(field Section)'"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no maintainer or description"
version=$(field Version)
[ "$(dpkg-deb -f "$DATA_DEB" Package) $(dpkg-deb -f "$DATA_DEB" Architecture)" = "velmora-data all" ] ||
    fail "data package: $(dpkg-deb -f "$DATA_DEB" Package Architecture)"
[ "$(dpkg-deb -f "$DATA_DEB" Version)" = "$version" ] || fail "the data package's version differs from $version"
grep -Eq '(^|, )fonts-liberation( |,|$)' <<<"$(dpkg-deb -f "$DATA_DEB" Depends)" ||
    fail "velmora-data does not depend on fonts-liberation"
depends=$(field Depends)
echo "Depends: $depends"
grep -Eq "(^|, )velmora-data \(= $version\)(,|$)" <<<"$depends" || fail "velmora does not depend on velmora-data (= $version)"
for p in libsdl1.2debian libsdl-ttf2.0-0 libsdl-mixer1.2; do
    grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done
# The SDL 1.2 that satisfies it must include sdl12-compat: Debian 13's
# libsdl1.2debian is sdl12-compat (1.2.68), and on Debian 12 the
# libsdl1.2-compat-shim package stands in for libsdl1.2debian as 1.2.15-1.
sdl_dep=$(tr ',' '\n' <<<"$depends" | grep -E '^ *libsdl1\.2debian( |$)' | head -n 1)
if [[ $sdl_dep =~ \((\>=|\>\>|=|\<=|\<\<)\ *([^\)]+)\) ]]; then
    for v in 1.2.68-2 1.2.15-1; do
        dpkg --compare-versions "$v" "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" ||
            fail "sdl12-compat's libsdl1.2debian $v does not satisfy '$sdl_dep'"
    done
fi
# The program in one, the data in the other: nothing of data/ in the
# architecture-dependent package.
dpkg-deb -c "$DEB" | awk '{print $6}' | sed 's|^\./|/|' >"$WORK/contents"
dpkg-deb -c "$DATA_DEB" | awk '{print $6}' | sed 's|^\./|/|' >"$WORK/data-contents"
app=io.github.velmora.Velmora
for f in /usr/games/velmora /usr/lib/games/velmora/velmora /usr/share/applications/$app.desktop \
    /usr/share/metainfo/$app.metainfo.xml /usr/share/man/man6/velmora.6.gz \
    /usr/share/doc/velmora/copyright /usr/share/doc/velmora/changelog.gz; do
    grep -qx "$f" "$WORK/contents" || fail "velmora lacks $f"
done
for f in /usr/share/games/velmora/data/Ball.bmp /usr/share/games/velmora/data/Font.ttf \
    /usr/share/doc/velmora-data/copyright /usr/share/doc/velmora-data/changelog.gz; do
    grep -qx "$f" "$WORK/data-contents" || fail "velmora-data lacks $f"
done
# The font's terms as the linked font carries them: GPL-2 for Debian 12's
# Liberation 1.07, the Open Font License for 2.x.
dpkg-deb --fsys-tarfile "$DATA_DEB" | tar -xO ./usr/share/doc/velmora-data/copyright >"$WORK/copyright"
font_licence=$(sed -n '/^Files: data\/Font.ttf$/,/^$/s/^License: //p' "$WORK/copyright")
want=GPL-2
grep -q 'Open Font License' /usr/share/doc/fonts-liberation/copyright && want=OFL-1.1
[[ $font_licence == "$want"* ]] ||
    fail "the copyright file gives the font '$font_licence'; this system's Liberation is $want"
grep -q '^/usr/share/games/' "$WORK/contents" && fail "velmora carries game data: $(grep -m3 '^/usr/share/games/' "$WORK/contents")"

# --- Install both; whatever happens next, the machine is left without them.
remove_package() {
    "${as_root[@]}" dpkg -r velmora velmora-data >"$WORK/remove.log" 2>&1
}
trap 'remove_package; cleanup' EXIT
if ! "${as_root[@]}" dpkg -i "$DEB" "$DATA_DEB" >"$WORK/install.log" 2>&1; then
    # A dependency missing on this machine: let apt bring it, then look again.
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -f -y -q >>"$WORK/install.log" 2>&1
    for p in velmora velmora-data; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            fail "dpkg -i: $(tail -n 20 "$WORK/install.log")"
    done
fi

[ -x /usr/games/velmora ] || fail "no launcher at /usr/games/velmora"
link=$(readlink /usr/share/games/velmora/data/Font.ttf)
[ "${link#/}" = "$link" ] || fail "data/Font.ttf is an absolute link ($link)"
font=$(readlink -f /usr/share/games/velmora/data/Font.ttf)
[ -f "$font" ] || fail "data/Font.ttf leads nowhere ($link)"
desktop=/usr/share/applications/$app.desktop
grep -qx 'Exec=velmora' "$desktop" && grep -qx 'Categories=Game;ArcadeGame;' "$desktop" &&
    grep -qx "Icon=$app" "$desktop" && grep -q '^Keywords=.' "$desktop" ||
    fail "desktop entry: $(cat "$desktop")"
# The desktop's and the software centres' own checks, and the manual page
# read as man reads it: any complaint fails.
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "/usr/share/metainfo/$app.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $out"
grep -E '^[EW]: ' <<<"$out" && fail "appstreamcli validate: $out"
# Every picture the metadata shows is one of the tree's docs/, where the
# repository publishes them (scripts/screenshots.sh takes them).
images=$(sed -n 's|.*<image>\(.*\)</image>.*|\1|p' "/usr/share/metainfo/$app.metainfo.xml")
[ -n "$images" ] || fail "the metadata names no screenshot"
for url in $images; do
    [[ $url == https://raw.githubusercontent.com/velmora/velmora/main/docs/*.png ]] ||
        fail "screenshot $url is not published from docs/"
    file -b "$(dirname "$0")/../../docs/${url##*/}" | grep -q '^PNG image data, 1024 x 768' ||
        fail "screenshot $url: no 1024x768 docs/${url##*/} in the tree"
done
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"" "/usr/share/metainfo/$app.metainfo.xml" ||
    fail "the metadata names no release $version with its date"
# (From the package itself: a minimal system may leave manual pages out.)
dpkg-deb -x "$DEB" "$WORK/unpacked"
out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$WORK/unpacked/usr/share/man/man6/velmora.6.gz" 2>&1 >"$WORK/man.txt") &&
    [ -z "$out" ] || fail "man --warnings: $out"
grep -q "^EXIT STATUS" "$WORK/man.txt" && grep -q "Velmora $version" "$WORK/man.txt" ||
    fail "the manual page lacks its exit statuses or version $version"
# Every size of the icon theme: a PNG of that size, drawn (not empty or blank).
for size in 16 32 48 64 128 256; do
    icon=/usr/share/icons/hicolor/${size}x$size/apps/$app.png
    [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x$size" ] ||
        fail "icon $icon is not a ${size}x$size PNG"
    colours=$(identify -format '%k' "$icon")
    [ "$colours" -gt 20 ] || fail "icon $icon has only $colours colours"
done

# --- The installed game, started by its launcher from a folder with no data.
mkdir -p "$WORK/elsewhere"
GAME_BIN=/usr/games/velmora
start_x
start_game "$WORK/elsewhere"
to_menu
shot menu
[ "$(pixel menu 1000 20)" = "0,50,100" ] || fail "menu background is $(pixel menu 1000 20)"
labels=$(count_colour menu 200x200+400+300 100,100,80)
[ "$labels" -gt 500 ] || fail "menu labels not drawn ($labels text pixels)"
hold_key q 0.3
wait_game 10; rc=$GAME_RC
[ "$rc" = 0 ] || fail "the installed game quit with status $rc"

# --- On a Wayland desktop the launcher plays on sdl12-compat where the
# system has it beside classic SDL 1.2 (Debian 12), unless the player's
# LD_LIBRARY_PATH says otherwise. (SDL2 still picks X11 here.)
compat=$(sdl_libraries "$PROBE" | awk '$1 == "sdl12-compat" { print $3; exit }')
if [ -n "$compat" ]; then
    unset LD_LIBRARY_PATH VELMORA_EXPECT_SDL
    export WAYLAND_DISPLAY=velmora-wayland-test
    start_game "$WORK/elsewhere"
    to_menu
    loaded=$(sdl_library_of_process "$GAME_PID")
    [ "$loaded" = "$compat" ] || fail "on a Wayland desktop the launcher ran the game on $loaded"
    hold_key q 0.3
    wait_game 10
    [ "$GAME_RC" = 0 ] || fail "the installed game quit with status $GAME_RC on sdl12-compat"
fi

# --- Removal takes every file away.
remove_package || fail "dpkg -r: $(tail -n 20 "$WORK/remove.log")"
trap cleanup EXIT
for p in velmora velmora-data; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" &&
        fail "$p still installed after dpkg -r"
done
for f in /usr/games/velmora /usr/share/games/velmora /usr/lib/games/velmora /usr/share/doc/velmora \
    /usr/share/doc/velmora-data /usr/share/metainfo/$app.metainfo.xml \
    /usr/share/icons/hicolor/256x256/apps/$app.png; do
    [ -e "$f" ] && fail "$f left after dpkg -r"
done
echo "PASS"
