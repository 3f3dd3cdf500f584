# The title, the main menu, a match on the standard field, Escape back to the
# menu, and Q to quit with status 0.
source "$(dirname "$0")/lib.sh" "$@"
start_x
start_game
sleep 1.0
hold_key Return 0.3          # past the title
sleep 1.0
shot menu
# The menu background and a label pixel prove the menu is drawn.
[ "$(pixel menu 5 5)" = "0,50,100" ] || fail "menu background is $(pixel menu 5 5)"
labels=$(count_colour menu 200x200+400+300 100,100,80)
[ "$labels" -gt 500 ] || fail "menu labels not drawn ($labels text pixels)"

move 440 310                 # hot spot = cursor + 25 lands inside "Start"
sleep 0.6
shot cursor
hold_button 1 0.3
sleep 1.0
shot field
[ "$(pixel field 5 5)" != "0,50,100" ] || fail "the match did not start"
kill -0 "$GAME_PID" || fail "game exited during the match"

hold_key Escape 0.3
sleep 0.8
shot back
[ "$(pixel back 5 5)" = "0,50,100" ] || fail "Escape did not return to the menu"
hold_key q 0.3
rc=$(wait_game 10)
[ "$rc" = 0 ] || fail "exit status $rc"
echo "PASS"
