#!/usr/bin/env bash
# Runs the frame benchmark headless from BUILD_DIR (which holds data/) and
# prints each case's time and the ratio MatchFrame / LeastFrame. Timing never
# fails it; a benchmark that cannot run does (missing program or data, a
# case that reports an error).
#   bash bench/run.sh BUILD_DIR [extra Google Benchmark flags]
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [benchmark flags]" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
shift
program="$build_dir/bench/velmora_bench"
if [ ! -x "$program" ]; then
  echo "no benchmark program at $program (configure with -DVELMORA_BENCH=ON and build)" >&2
  exit 1
fi
cd "$build_dir"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
exec "$program" --benchmark_min_time=0.2 --benchmark_repetitions=7 \
  --benchmark_report_aggregates_only=true --benchmark_color=false "$@" 2>&1
