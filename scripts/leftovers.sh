#!/usr/bin/env bash
# Finds the processes of one test run still running: those whose environment
# holds VELMORA_TEST_RUN=MARK, the mark scripts/test.sh gives everything it
# starts. Names each, ends it (SIGTERM, then SIGKILL after 3 s) and fails.
# Other runs' processes, on a machine shared by several developers, carry
# other marks and are left alone. Run it without the mark in its own
# environment (env -u VELMORA_TEST_RUN), or it finds itself.
#   bash scripts/leftovers.sh MARK
set -u
mark=${1:?usage: $0 MARK}

marked() {
  local environ pid
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    # A zombie or a process gone meanwhile reads as empty.
    grep -qzxF "VELMORA_TEST_RUN=$mark" "$environ" 2>/dev/null && echo "$pid"
  done
}

mapfile -t left < <(marked)
[ ${#left[@]} -eq 0 ] && exit 0

echo "Processes of this test run still running:" >&2
for pid in "${left[@]}"; do
  printf '  %s: %s\n' "$pid" "$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)" >&2
done
kill "${left[@]}" 2>/dev/null
for _ in $(seq 30); do
  mapfile -t left < <(marked)
  [ ${#left[@]} -eq 0 ] && break
  sleep 0.1
done
[ ${#left[@]} -eq 0 ] || kill -KILL "${left[@]}" 2>/dev/null
echo "(ended; every test must end what it starts)" >&2
exit 1
