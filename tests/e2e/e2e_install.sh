# The Debian package: built from the build folder, installed on this machine
# with dpkg, the installed launcher started from an unrelated folder shows the
# main menu and quits cleanly; the package is removed again at the end.
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

# --- Build the package (into this test's folder, not the build folder).
(cd "$BUILD_DIR" && cpack -G DEB -B "$WORK/pkg" >"$WORK/cpack.log" 2>&1) ||
    fail "cpack: $(tail -n 20 "$WORK/cpack.log")"
DEB=$(ls "$WORK"/pkg/velmora_*.deb 2>/dev/null | head -n 1)
[ -n "$DEB" ] || fail "no .deb made: $(tail -n 5 "$WORK/cpack.log")"
echo "package: $(basename "$DEB"), $(stat -c %s "$DEB") bytes"

field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = velmora ] || fail "package name '$(field Package)'"
[ "$(field Section)" = games ] || fail "section '$(field Section)'"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no maintainer or description"
depends=$(field Depends)
echo "Depends: $depends"
for p in libsdl1.2debian libsdl-ttf2.0-0 libsdl-mixer1.2 fonts-liberation; do
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
dpkg-deb -c "$DEB" | awk '{print $6}' | sed 's|^\./|/|' >"$WORK/contents"
for f in /usr/games/velmora /usr/lib/games/velmora/velmora /usr/share/games/velmora/data/Ball.bmp \
    /usr/share/applications/velmora.desktop /usr/share/icons/hicolor/48x48/apps/velmora.png; do
    grep -qx "$f" "$WORK/contents" || fail "the package lacks $f"
done

# --- Install; whatever happens next, the machine is left without it.
remove_package() {
    "${as_root[@]}" dpkg -r velmora >"$WORK/remove.log" 2>&1
}
trap 'remove_package; cleanup' EXIT
if ! "${as_root[@]}" dpkg -i "$DEB" >"$WORK/install.log" 2>&1; then
    # A dependency missing on this machine: let apt bring it, then look again.
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -f -y -q >>"$WORK/install.log" 2>&1
    dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q "install ok installed" ||
        fail "dpkg -i: $(tail -n 20 "$WORK/install.log")"
fi

[ -x /usr/games/velmora ] || fail "no launcher at /usr/games/velmora"
font=$(readlink -f /usr/share/games/velmora/data/Font.ttf)
[ -f "$font" ] || fail "data/Font.ttf leads nowhere ($font)"
grep -qx 'Exec=velmora' /usr/share/applications/velmora.desktop &&
    grep -qx 'Categories=Game;ArcadeGame;' /usr/share/applications/velmora.desktop ||
    fail "desktop entry: $(cat /usr/share/applications/velmora.desktop)"
[ "$(identify -format '%m %wx%h' /usr/share/icons/hicolor/48x48/apps/velmora.png)" = "PNG 48x48" ] ||
    fail "icon is not a 48x48 PNG"
# The icon is drawn, not empty or blank.
colours=$(identify -format '%k' /usr/share/icons/hicolor/48x48/apps/velmora.png)
[ "$colours" -gt 20 ] || fail "icon has only $colours colours"

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

# --- Removal takes every file away.
remove_package || fail "dpkg -r: $(tail -n 20 "$WORK/remove.log")"
trap cleanup EXIT
dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q "install ok installed" &&
    fail "still installed after dpkg -r"
[ -e /usr/games/velmora ] || [ -e /usr/share/games/velmora ] || [ -e /usr/lib/games/velmora ] &&
    fail "files left after dpkg -r"
echo "PASS"
