#!/usr/bin/env bash
# Valgrind's memcheck over a whole scripted session (session.cpp): fails on
# any memory error and on bytes definitely or indirectly lost, and on a
# session that did not go its whole way. Headless: SDL's dummy drivers. No
# suppressions: the session loses nothing, in the game or the libraries.
#   bash tests/valgrind/run.sh BUILD_DIR
set -uo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd) || exit 1
program="$build_dir/tests/velmora_valgrind_session"
if ! command -v valgrind >/dev/null; then
  echo "valgrind is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
if [ ! -x "$program" ]; then
  echo "no session program at $program" >&2
  exit 1
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
cd "$build_dir"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
valgrind --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite,indirect \
  --error-exitcode=1 --num-callers=30 \
  --log-file="$log" "$program"
status=$?

# The whole report when something is wrong; its summary in any case.
[ $status -eq 0 ] || cat "$log"
grep -E 'definitely lost:|indirectly lost:|possibly lost:|still reachable:|ERROR SUMMARY:' "$log" |
  sed 's/^==[0-9]*== *//'
exit $status
