#!/usr/bin/env bash
# Installs what is missing, builds the game and its data (not the tests or
# the benchmark), and starts it from build/ (which holds the generated data/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh velmora assets
cd build && exec ./velmora
