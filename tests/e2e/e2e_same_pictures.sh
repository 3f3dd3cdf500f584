# The same game on each SDL 1.2 the system has (classic SDL 1.2 and
# sdl12-compat, SDL 1.2 over SDL2, on Debian 12) shows the very same pixels:
# the main menu, the options, the credits and a match's first picture, each
# with the crosshair placed by an absolute pointer move; and on each the
# crosshair stands under the pointer after the options, the credits and a
# match have returned. Where there is one library, the crosshair checks run
# and there is nothing to compare.
source "$(dirname "$0")/lib.sh" "$@"
mapfile -t libraries < <(sdl_libraries "$PROBE")
[ ${#libraries[@]} -gt 0 ] || fail "no SDL 1.2 library loads here"
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
# $1: a line of sdl_libraries.
visit() {
    local kind version file folder
    read -r kind version file folder <<<"$1"
    library=$kind-$version
    if [ "$folder" = - ]; then
        unset LD_LIBRARY_PATH
    else
        export LD_LIBRARY_PATH=$folder
    fi
    export VELMORA_EXPECT_SDL=$kind
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

for entry in "${libraries[@]}"; do visit "$entry"; done
read -r kind version _ <<<"${libraries[0]}"
first=$kind-$version
if [ ${#libraries[@]} -eq 1 ]; then
    echo "one SDL 1.2 here ($kind $version): nothing to compare its pictures with"
fi
for entry in "${libraries[@]:1}"; do
    read -r kind version _ <<<"$entry"
    echo "comparing $first with $kind-$version: the same build, texts by the same SDL_ttf and FreeType"
    for screen in menu options credits match; do
        differ=$(compare -metric AE "$SHOTS/$first-$screen.bmp" "$SHOTS/$kind-$version-$screen.bmp" null: 2>&1 || true)
        [ "$differ" = 0 ] || fail "the $screen differs between $first and $kind-$version in $differ pixels"
    done
done
echo "PASS"
