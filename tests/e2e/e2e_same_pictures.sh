# The same game on classic SDL 1.2 and on sdl12-compat (SDL 1.2 over SDL2)
# shows the very same pixels: the main menu, the options, the credits and a
# match's first picture, each with the crosshair placed by an absolute
# pointer move; and on both the crosshair stands under the pointer after
# the options, the credits and a match have returned.
source "$(dirname "$0")/lib.sh" "$@"
compat_sdl=$(dpkg -L libsdl1.2-compat 2>/dev/null | grep '/sdl12-compat/libSDL-1\.2\.so\.0$' | head -n 1)
[ -n "$compat_sdl" ] || fail "sdl12-compat is not installed (libsdl1.2-compat)"
start_x

click_at() { move "$1" "$2"; sleep 0.2; hold_button 1 0.25; sleep 0.4; }

# The crosshair's top-left corner is the pointer's position.
crosshair_at() {
    local name=$1 x=$2 y=$3 fx fy f
    read -r fx fy f <<<"$(find_sprite "$name" Fadenkreuz.bmp 255,255,255 $((x - 30)) $((y - 30)) $((x + 30)) $((y + 30)))"
    [ "$fx $fy" = "$x $y" ] && ok_fraction "$f" 0.95 ||
        fail "$library, $name: crosshair at $fx $fy ($f), the pointer at $x $y"
}

# Each screen is shot with the pointer somewhere no other screen put it, so
# a crosshair left over from before the screen would show.
visit() {
    library=$1
    if [ "$library" = compat ]; then
        export LD_LIBRARY_PATH=$(dirname "$compat_sdl")
    else
        unset LD_LIBRARY_PATH
    fi
    export VELMORA_EXPECT_SDL=$library
    start_game
    to_menu
    move 610 590; sleep 0.3; shot "$library-menu"
    crosshair_at "$library-menu" 610 590
    click_at 440 370                              # Options
    move 660 640; sleep 0.3; shot "$library-options"
    crosshair_at "$library-options" 660 640
    click_at 920 720                              # Credits
    move 600 150; sleep 0.3; shot "$library-credits"
    crosshair_at "$library-credits" 600 150
    hold_key Escape 0.2; sleep 0.4                # back to the options
    move 700 300; sleep 0.3; quick_shot "$library-options-again"
    crosshair_at "$library-options-again" 700 300
    click_at 25 720                               # Back to the menu
    move 620 200; sleep 0.3; quick_shot "$library-menu-again"
    crosshair_at "$library-menu-again" 620 200
    sleep 0.3
    click_at 440 310                              # Start
    sleep 0.5; shot "$library-match"
    hold_key Escape 0.3; sleep 0.5
    move 150 600; sleep 0.3; quick_shot "$library-after-match"
    crosshair_at "$library-after-match" 150 600
    hold_key q 0.3
    wait_game 10
    [ "$GAME_RC" = 0 ] || fail "$library: exit status $GAME_RC"
}

visit classic
visit compat
for screen in menu options credits match; do
    differ=$(compare -metric AE "$SHOTS/classic-$screen.bmp" "$SHOTS/compat-$screen.bmp" null: 2>&1 || true)
    [ "$differ" = 0 ] || fail "the $screen differs between the libraries in $differ pixels"
done
echo "PASS"
