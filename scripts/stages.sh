# The test command's stages (scripts/test.sh): each one named and timed,
# with the processor time it used; a stage that mostly waits can run in the
# background beside others and be joined later. Sourced.
#
#   stage NAME COMMAND...        runs COMMAND now; fails the command if it fails
#   stage_start NAME COMMAND...  starts COMMAND in the background; what it
#                                prints is kept until it is joined
#   stage_join NAME              waits for it, then shows what it printed;
#                                fails the command if it failed
#   stage_stop_all               ends the stages still running (on failure)
#   stage_table                  each stage's times, the whole, and the
#                                processor time of the whole command
# COMMAND may be a shell function; it runs in a subshell under set -e, in a
# process group of its own, so that ending a stage ends all of it.

stages_dir=$(mktemp -d /tmp/velmora-stages.XXXXXX)
stages_started=$(date +%s)
stage_order=()
declare -A stage_pid=() stage_id=() stage_t0=() stage_wall=() stage_result=() stage_where=()

_stage_fork() {  # NAME OUTPUT COMMAND...
    local name=$1 out=$2 id=${#stage_order[@]}
    shift 2
    stage_order+=("$name")
    stage_id[$name]=$id
    stage_t0[$name]=$(date +%s)
    set -m
    if [ "$out" = - ]; then
        ( trap 'times >"$stages_dir/$id.times"; date +%s >"$stages_dir/$id.end"' EXIT; "$@" ) </dev/null &
    else
        ( trap 'times >"$stages_dir/$id.times"; date +%s >"$stages_dir/$id.end"' EXIT; "$@" ) </dev/null >"$out" 2>&1 &
    fi
    stage_pid[$name]=$!
    set +m
}

_stage_end() {  # NAME RC
    local name=$1 rc=$2 end
    # A stage in the background ended when it ended, not when it was joined.
    end=$(cat "$stages_dir/${stage_id[$name]}.end" 2>/dev/null || date +%s)
    stage_wall[$name]=$(( end - stage_t0[$name] ))
    stage_pid[$name]=
    if [ "$rc" = 0 ]; then stage_result[$name]=ok; else stage_result[$name]="FAILED ($rc)"; fi
    if [ "$rc" != 0 ]; then echo "FAIL: stage $name (exit status $rc)" >&2; fi
    return "$rc"
}

# Background stages that have ended are joined at the next stage, so that
# one that failed early fails the command then, not at its join.
_stage_reap() {
    local name
    for name in "${stage_order[@]}"; do
        [ "${stage_where[$name]}" = bg ] && [ -n "${stage_pid[$name]:-}" ] || continue
        [ -e "$stages_dir/${stage_id[$name]}.end" ] || continue
        stage_join "$name"
    done
}

stage() {
    local name=$1 rc=0
    shift
    _stage_reap
    stage_where[$name]=fg
    _stage_fork "$name" - "$@"
    wait "${stage_pid[$name]}" || rc=$?
    _stage_end "$name" "$rc"
}

stage_start() {
    local name=$1
    shift
    stage_where[$name]=bg
    _stage_fork "$name" "$stages_dir/${#stage_order[@]}.log" "$@"
    echo "== (in the background from here: $name)"
}

stage_join() {
    local name=$1 rc=0 t
    # Joined already, as it ended early.
    [ -n "${stage_pid[$name]:-}" ] || { [ "${stage_result[$name]:-}" = ok ]; return; }
    t=$(date +%s)
    wait "${stage_pid[$name]}" || rc=$?
    echo "== $name, run in the background (waited for it $(( $(date +%s) - t )) s here):"
    cat "$stages_dir/${stage_id[$name]}.log"
    _stage_end "$name" "$rc"
}

stage_stop_all() {
    local name pid
    for name in "${stage_order[@]}"; do
        pid=${stage_pid[$name]:-}
        [ -n "$pid" ] || continue
        # One that has ended is shown with its own result.
        if [ -e "$stages_dir/${stage_id[$name]}.end" ]; then
            stage_join "$name" || true
            continue
        fi
        kill -TERM -- "-$pid" 2>/dev/null || true
    done
    for name in "${stage_order[@]}"; do
        pid=${stage_pid[$name]:-}
        [ -n "$pid" ] || continue
        wait "$pid" 2>/dev/null || true
        # Its shell is gone; what it started may still be ending (a clean-up).
        for _ in $(seq 150); do kill -0 -- "-$pid" 2>/dev/null || break; sleep 0.2; done
        kill -KILL -- "-$pid" 2>/dev/null || true
        stage_wall[$name]=$(( $(date +%s) - stage_t0[$name] ))
        stage_result[$name]=stopped
        stage_pid[$name]=
        if [ "${stage_where[$name]}" = bg ]; then
            echo "== $name was stopped; the last of what it printed:"
            tail -n 30 "$stages_dir/${stage_id[$name]}.log"
        fi
    done
}

# "times" prints the shell's own user and system time, then its children's.
_cpu_seconds() {
    awk '{ for (i = 1; i <= NF; ++i) { split($i, p, "m"); s += p[1] * 60 + p[2] } } END { printf "%d", s + 0.5 }' "$@"
}

stage_table() {
    local name id whole cpu cores
    whole=$(( $(date +%s) - stages_started ))
    cores=$(nproc)
    echo "== Stage times (wall clock; 'from' is when it started; cpu is user + system of all it ran)"
    printf '   %-28s %6s %6s %6s  %s\n' stage from wall cpu result
    for name in "${stage_order[@]}"; do
        id=${stage_id[$name]}
        cpu=-
        [ -s "$stages_dir/$id.times" ] && cpu=$(_cpu_seconds "$stages_dir/$id.times")
        printf '   %-28s %5ds %5ss %5ss  %s%s\n' "$name" $(( stage_t0[$name] - stages_started )) \
            "${stage_wall[$name]:-?}" "$cpu" "${stage_result[$name]:-running}" \
            "$([ "${stage_where[$name]}" = bg ] && echo ', in the background')"
    done
    times >"$stages_dir/all.times"
    cpu=$(_cpu_seconds "$stages_dir/all.times")
    printf '   %-28s %6s %5ds %5ds\n' whole '' "$whole" "$cpu"
    echo "   processor time: ${cpu} s of the $(( whole * cores )) s that $cores cores give in ${whole} s" \
         "($(( whole > 0 ? 100 * cpu / (whole * cores) : 0 )) %); load at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
    rm -rf "$stages_dir"
}
