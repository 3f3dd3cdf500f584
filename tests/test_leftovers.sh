# The test command's last check (scripts/leftovers.sh): a process left by
# the run it checks is named, ended and fails it; another run's process,
# even one whose mark begins the same, is left alone; nothing left passes.
#   bash test_leftovers.sh SOURCE_DIR
set -u
check="$1/scripts/leftovers.sh"
mark="leftover-test-$$-$RANDOM"
ours= theirs=
trap 'kill $ours $theirs 2>/dev/null' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# In their own sessions, as a leftover is no child of the check.
VELMORA_TEST_RUN=$mark setsid sleep 60 &
ours=$!
VELMORA_TEST_RUN=${mark}0 setsid sleep 60 &
theirs=$!
sleep 0.3

out=$(env -u VELMORA_TEST_RUN bash "$check" "$mark" 2>&1) && fail "a leftover passed the check: $out"
grep -q "^  $ours: sleep 60" <<<"$out" || fail "the leftover $ours is not named: $out"
grep -q "$theirs" <<<"$out" && fail "another run's process was named: $out"
for _ in $(seq 50); do
  ps -o stat= -p "$ours" 2>/dev/null | grep -qv Z || break
  sleep 0.1
done
ps -o stat= -p "$ours" 2>/dev/null | grep -qv Z && fail "the leftover $ours still runs"
kill -0 "$theirs" 2>/dev/null || fail "another run's process was ended"

kill "$theirs"; wait "$theirs" 2>/dev/null; wait "$ours" 2>/dev/null
ours= theirs=
out=$(env -u VELMORA_TEST_RUN bash "$check" "$mark" 2>&1) || fail "nothing left, but the check failed: $out"
echo "PASS"
