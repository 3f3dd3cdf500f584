# The installed game in an emulated root of another processor, started as a
# player starts it (its launcher, from a folder of its own), on an X server
# of this machine: the title, the main menu, a match, Escape back to the
# menu, Q to quit with status 0. GAME is a program that starts it there
# (scripts/cross-arch.sh walk makes it); BUILD is the native build folder,
# whose data/ the package ships, and PROBE its screenshot reader.
#   bash walk.sh GAME BUILD PROBE
source "$(dirname "$0")/../lib.sh" "$@"
start_x
start_wm
started=$(date +%s%N)
start_game "$WORK"
to_menu
echo "the title and the main menu after $(( ($(date +%s%N) - started) / 1000000 )) ms"
start_match
shot match
echo "a match"
hold_key Escape 0.3
rc=0
await_screen 60 "" menu_shows || rc=$?
[ "$rc" = 0 ] || fail "Escape did not lead back to the main menu ($rc)"
echo "Escape: the main menu again"
hold_key q 0.3
wait_game 30
[ "$GAME_RC" = 0 ] || fail "the game quit with status $GAME_RC"
echo "Q: the game ended with status 0 after $(( ($(date +%s%N) - started) / 1000000 )) ms"
echo PASS
