# The Windows game under wine, as a player gets it: unpacked from the zip,
# then installed silently, started through its Start-menu shortcut, and
# uninstalled. Each copy must show the title, the menu, the field on Start,
# the menu again on Escape, and end with status 0 on Q; the zip's, under a
# window manager, must also wait while iconified in a match. The zip carries the
# game's licence, and the program its icon and version information; the
# installed shortcut and the entry in the list of programs show icon,
# version and publisher. The unpacked copy's
# main menu and options screen must also equal the Linux game's, pixel for
# pixel: the Windows build draws its texts with its own renderer.
# Usage: bash e2e_windows.sh ZIP SETUP.EXE PROBE LINUX-GAME LINUX-BUILD-FOLDER
set -u
zip_file=$(realpath "$1")
setup_exe=$(realpath "$2")
probe=$(realpath "$3")
linux_game=$(realpath "$4")
linux_build=$(realpath "$5")
source "$(dirname "$0")/../lib.sh" /bin/false /nonexistent "$probe"
source_root=$(realpath "$(dirname "$0")/../../..")
version=$(basename "$zip_file" -win64.zip)
version=${version#velmora-}

export WINEDEBUG=-all
export WINEPREFIX=$WORK/wineprefix
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono/Gecko prompts in a fresh prefix

wine_cleanup() {
    wineserver -k 2>/dev/null
    cleanup
}
trap wine_cleanup EXIT

# SDL on Windows reads the pointer in relative mode, warping it back to the
# centre after every move, whenever the system cursor is switched off (the
# game's fallback when it cannot make its transparent cursor); an absolute
# move then lands wherever the last warp left it. Two long moves up-left pin
# the game's cursor (and, in absolute mode, the pointer) to (0, 0); moves
# that add up to the target's coordinates then land exactly in either mode.
# They go in steps of at most 200 pixels, so that none runs into the
# screen's edge from the centre.
move() {
    xdotool mousemove_relative -- -2000 -2000; sleep 0.1
    xdotool mousemove_relative -- -2000 -2000; sleep 0.1
    local x=$1 y=$2 dx dy
    while [ "$x" -gt 0 ] || [ "$y" -gt 0 ]; do
        dx=$((x > 200 ? 200 : x)); dy=$((y > 200 ? 200 : y))
        xdotool mousemove_relative -- "$dx" "$dy"; sleep 0.1
        x=$((x - dx)); y=$((y - dy))
    done
    sleep 0.1
}

# Moves until the game draws its crosshair at ($1, $2): a warp that crosses
# a move can leave it elsewhere, and a click must not depend on that.
aim_at() {
    local x y f
    for _ in 1 2 3 4; do
        move "$1" "$2"
        sleep 0.3
        quick_shot aim
        read -r x y f <<<"$(find_sprite aim Fadenkreuz.bmp 255,255,255 $(($1 - 60)) $(($2 - 60)) $(($1 + 60)) $(($2 + 60)))"
        [ "$x $y" = "$1 $2" ] && ok_fraction "$f" 0.95 && return 0
    done
    fail "crosshair not at ($1, $2) after four moves (last $x $y $f)"
}

# Clicks "Start" once the crosshair stands on it, and waits for the field.
start_match() {
    aim_at 440 310
    hold_button 1 0.3
    await_field
}

# The options screen's "Field:" label.
options_shows() { [ "$(count_colour "$1" 120x50+100+30 100,100,80)" -gt 100 ]; }
options_gone() { [ "$(count_colour "$1" 120x50+100+30 100,100,80)" -eq 0 ]; }

# Waits until the options screen shows or, with "gone", until it has left.
wait_options() {
    if [ "${1:-}" = gone ]; then
        await_screen 40 "" options_gone || fail "the options screen did not leave"
    else
        await_screen 40 "" options_shows || fail "the options screen did not show"
    fi
}

# Screenshots of the main menu and the options screen with the crosshair at
# (0, 0), taken from the game started by GAME_BIN in the current folder
# setup; $1 names them. Leaves the game on its main menu.
menu_screens() {
    move 0 0
    sleep 0.4
    shot "$1-menu"
    aim_at 440 380               # hot spot inside "Options"
    hold_button 1 0.3
    wait_options
    move 0 0
    sleep 0.4
    shot "$1-options"
    sleep 0.3                    # past the options screen's click gate
    hold_key Escape 0.3
    wait_options gone
    sleep 0.6                    # past the main menu's click gate
}

same_screen() {
    local differing
    differing=$(compare -metric AE "$SHOTS/$1.bmp" "$SHOTS/$2.bmp" null: 2>&1)
    [ "$differing" = 0 ] || fail "$2 differs from $1 in $differing pixels"
}

# Sets x, y and f of the caller to where the title logo was found.
title_logo_shows() {
    read -r x y f <<<"$(find_sprite "$1" Velmora.bmp 255,255,255 290 0 310 15)"
    [ "$x $y" = "300 7" ] && ok_fraction "$f" 0.9
}

# The same checks as the Linux end-to-end test, on the copy in folder $1
# (which holds data/), started by the command in GAME_BIN.
play_copy() {
    local label=$1
    BUILD_DIR=$2
    DATA=$BUILD_DIR/data
    start_game "$BUILD_DIR"
    # The title: its logo at (300, 7) over black, before any key is pressed.
    local rc=0 x= y= f=
    await_screen 120 "" title_logo_shows || rc=$?
    case $rc in
        1) fail "$label: the title did not show (logo $x $y $f)" ;;
        2) fail "$label: the game ended during its title" ;;
    esac
    shot "$label-title"

    to_menu
    sleep 0.3
    shot "$label-menu"
    [ "$(pixel "$label-menu" 1000 20)" = "0,50,100" ] || fail "$label: menu background is $(pixel "$label-menu" 1000 20)"
    local labels
    labels=$(count_colour "$label-menu" 200x200+400+300 100,100,80)
    [ "$labels" -gt 500 ] || fail "$label: menu labels not drawn ($labels text pixels)"
    if [ "$label" = zip ]; then
        menu_screens zip
        echo "comparing the zip's main menu and options screen with the Linux game's: the same font" \
            "through FreeType ${linux_freetype%-*} (Windows $windows_freetype, Linux $linux_freetype)," \
            "the game's own renderer against SDL_ttf"
        same_screen linux-menu zip-menu
        same_screen linux-options zip-options
    fi

    start_match
    shot "$label-field"
    kill -0 "$GAME_PID" 2>/dev/null || fail "$label: the game ended during the match: $(cat "$WORK/game.out")"
    f=$(same_as "$label-field" VMFeld.bmp 0 100 1024 400)
    ok_fraction "$f" 0.97 || fail "$label: standard field not drawn (match $f)"

    hold_key Escape 0.3
    sleep 0.8
    shot "$label-back"
    [ "$(pixel "$label-back" 1000 20)" = "0,50,100" ] || fail "$label: Escape did not return to the menu"
    hold_key q 0.3
    wait_game 20
    [ "$GAME_RC" = 0 ] || fail "$label: exit status $GAME_RC"
    echo "$label: title, menu, field, back, exit status 0"
}

# Every file of the Windows drive and every key under Software, to show that
# uninstalling leaves nothing behind. One exception: the uninstaller's copy
# of itself is removed at the next restart, but the folder it ran in stays
# (empty) in the temporary folder, wherever this wine keeps it (users/NAME/Temp
# in wine 8, users/NAME/AppData/Local/Temp in wine 10). Anything inside it
# still counts.
snapshot() {
    wineserver -w
    (cd "$WINEPREFIX/drive_c" && find . | grep -v "^\./$temp_pattern/~nsu[^/]*\.tmp\$" | sort) >"$WORK/$1.files"
    wine reg query 'HKLM\Software' /s 2>/dev/null | tr -d '\r' | grep '^HKEY' | sort >"$WORK/$1.keys"
}

start_x
echo "Preparing a wine prefix"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
    fail "cannot set the wine registry"
wineserver -w
# The temporary folder, below drive_c, as a pattern for grep.
temp_dir=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
temp_dir=$(realpath "$(winepath -u "$temp_dir" 2>/dev/null)" 2>/dev/null)
drive_c=$(realpath "$WINEPREFIX/drive_c")
case $temp_dir in
    "$drive_c"/?*) temp_pattern=$(sed 's/[][\.*^$]/\\&/g' <<<"${temp_dir#"$drive_c"/}") ;;
    *) fail "wine's temporary folder '$temp_dir' is not on drive C:" ;;
esac

# The Windows game draws its texts with the game's own renderer over the
# FreeType it was built with, the Linux game through SDL_ttf over the
# system's: their pixels compare like with like only with the same FreeType
# release (scripts/windows.sh builds the source of this machine's
# libfreetype6, or another Debian revision of its release).
linux_freetype=$(dpkg-query -W -f='${source:Version}' libfreetype6)
linux_freetype=${linux_freetype#*:}
windows_freetype=$(sed -n 's/^freetype_\(.*\)\.dsc$/\1/p' "$(dirname "$zip_file")/library-sources.txt" 2>/dev/null)
[ -n "$windows_freetype" ] && [ "${windows_freetype%-*}" = "${linux_freetype%-*}" ] ||
    fail "the Windows build's FreeType is '${windows_freetype:-unknown}', the Linux game's $linux_freetype:" \
        "their texts cannot be compared pixel for pixel (scripts/windows.sh builds the Linux game's)"

# 0. The Linux game's menu and options screen, for comparison.
GAME_BIN=$linux_game
DATA=$linux_build/data
start_game "$linux_build"
to_menu
menu_screens linux
hold_key q 0.3
wait_game 10
[ "$GAME_RC" = 0 ] || fail "the Linux game's exit status is $GAME_RC"

# 1. The zip.
mkdir -p "$WORK/zip"
unzip -q "$zip_file" -d "$WORK/zip" || fail "the zip does not unpack"
copy=$(find "$WORK/zip" -maxdepth 2 -name velmora.exe -printf '%h\n' | head -n 1)
[ -n "$copy" ] && [ -d "$copy/data" ] || fail "no velmora.exe beside a data folder in the zip"
# The game's licence beside the libraries', and the program's resources:
# the icon at the sizes Windows shows, and the version information (product,
# version, licence) that Explorer's properties read.
tr -d '\r' <"$copy/LICENSE.txt" | cmp -s - "$source_root/LICENSE" || fail "the zip's LICENSE.txt is not the game's LICENSE"
[ -n "$(ls "$copy/licenses")" ] || fail "no library licences in the zip"
wrestool -x -t14 "$copy/velmora.exe" >"$WORK/exe.ico" 2>/dev/null
[ -s "$WORK/exe.ico" ] && icotool -l "$WORK/exe.ico" >"$WORK/exe-icons" 2>&1 || fail "velmora.exe carries no icon"
for size in 16 32 48 256; do
    grep -q -- "--width=$size --height=$size --bit-depth=32" "$WORK/exe-icons" ||
        fail "velmora.exe's icon has no ${size}x$size image: $(cat "$WORK/exe-icons")"
done
mkdir -p "$WORK/exe-icons.d" && icotool -x -o "$WORK/exe-icons.d" "$WORK/exe.ico" &&
    colours=$(identify -format '%k' "$WORK"/exe-icons.d/*_256x256x32.png) &&
    [ "$colours" -gt 20 ] || fail "velmora.exe's 256-pixel icon is blank (${colours:-no} colours)"
info="|$(wrestool -x --raw -t16 "$copy/velmora.exe" 2>/dev/null | strings -el | paste -sd'|')|"
for pair in "ProductName|Velmora" "ProductVersion|$version" "FileVersion|$version"; do
    grep -qF "|$pair|" <<<"$info" || fail "velmora.exe's version information lacks $pair: $info"
done
grep -q '|LegalCopyright|[^|]*MIT licen' <<<"$info" || fail "velmora.exe's version information names no licence: $info"
cat >"$WORK/run-exe" <<'EOF'
#!/bin/sh
exec wine velmora.exe
EOF
chmod +x "$WORK/run-exe"
GAME_BIN=$WORK/run-exe
play_copy zip "$copy"
# A console program: started where there is no data folder, it names the
# missing files on its standard error and ends with status 1; nothing goes
# to stdout.txt or stderr.txt instead.
mkdir -p "$WORK/nodata"
(cd "$WORK/nodata" && wine "$copy/velmora.exe" >out.txt 2>err.txt)
rc=$?
[ "$rc" = 1 ] && grep -q 'data/Font.ttf' "$WORK/nodata/err.txt" ||
    fail "without data: status $rc, standard error: $(head -n 3 "$WORK/nodata/err.txt")"
for f in stdout.txt stderr.txt; do
    [ ! -e "$WORK/nodata/$f" ] && [ ! -e "$copy/$f" ] || fail "the game wrote $f"
done

# The zip's game waits while its player is away, as the Linux game does
# (e2e_away.sh): for this, wine's windows are a window manager's.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1 && wineserver -w ||
    fail "cannot set the wine registry"
start_wm
start_game "$copy"
to_menu
start_match
roll_ball
window=$(xdotool getactivewindow)
iconified_in_flight "$window" "$(xdotool getwindowpid "$window")"
# Out of the match and the game: each look gives the window the focus again
# (wine 10 under openbox has been seen to leave it without it after the
# restore, and keys then go nowhere) and says how many looks it took.
looks=0
leave_step() { looks=$((looks + 1)); xdotool windowactivate "$window" 2>/dev/null; hold_key Escape 0.3; }
await_screen 40 leave_step menu_shows || fail "away: Escape did not lead back to the menu"
echo "away: back in the menu after $looks Escape(s)"
for _ in $(seq 10); do
    xdotool windowactivate "$window" 2>/dev/null
    hold_key q 0.3
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.5
done
wait_game 20
[ "$GAME_RC" = 0 ] || fail "away: exit status $GAME_RC"
kill "$WM_PID"; wait "$WM_PID" 2>/dev/null; WM_PID=
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 && wineserver -w ||
    fail "cannot set the wine registry"

# 2. The installer, silently.
snapshot before
wine "$setup_exe" /S >/dev/null 2>&1 || fail "the installer failed"
wineserver -w
installed="$WINEPREFIX/drive_c/Program Files/Velmora"
[ -f "$installed/velmora.exe" ] && [ -d "$installed/data" ] || fail "nothing installed in $installed"
shortcut=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Velmora/Velmora.lnk' | head -n 1)
[ -n "$shortcut" ] || fail "no Start-menu shortcut"
# The entry in the list of programs: its icon, version and publisher.
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'
wine reg query "$uninstall_key" >"$WORK/uninstall-key" 2>/dev/null || fail "no uninstall entry"
reg_value() { tr -d '\r' <"$WORK/uninstall-key" | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
[ "$(reg_value DisplayIcon)" = 'C:\Program Files\Velmora\velmora.exe,0' ] &&
    [ "$(reg_value DisplayVersion)" = "$version" ] && [ -n "$(reg_value Publisher)" ] ||
    fail "uninstall entry: $(tr -d '\r' <"$WORK/uninstall-key")"
# Started as the shortcut starts it: its target in its working folder, which
# must hold data\. (wine's "start /wait" does not wait for a shortcut.)
{ read -r target; read -r workdir; read -r icon; } < <(python3 "$(dirname "$0")/lnk_fields.py" "$shortcut" | tr -d '\r')
[ "$target" = 'C:\Program Files\Velmora\velmora.exe' ] || fail "the shortcut starts '$target'"
[ "$icon" = "$target" ] || fail "the shortcut shows the icon of '$icon'"
workdir_unix=$(winepath -u "$workdir" 2>/dev/null)
[ -d "$workdir_unix/data" ] || fail "the shortcut's working folder '$workdir' has no data folder"
cat >"$WORK/run-shortcut" <<EOF
#!/bin/sh
exec wine '$target'
EOF
chmod +x "$WORK/run-shortcut"
GAME_BIN=$WORK/run-shortcut
play_copy installed "$workdir_unix"

# 3. The uninstaller, silently: the drive and the registry as before.
wine "$installed/Uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller failed"
wineserver -w
# The uninstaller runs from a copy in the temporary folder, which it cannot
# delete while it runs; it leaves that to the next restart, so restart.
wineboot -r >/dev/null 2>&1
snapshot after
[ ! -e "$installed" ] || fail "the uninstaller left $(find "$installed" | head -n 5)"
diff "$WORK/before.files" "$WORK/after.files" >"$WORK/files.diff" ||
    fail "files differ after uninstalling: $(head -n 10 "$WORK/files.diff")"
diff "$WORK/before.keys" "$WORK/after.keys" >"$WORK/keys.diff" ||
    fail "registry keys differ after uninstalling: $(head -n 10 "$WORK/keys.diff")"
echo "PASS"
