#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from build/ (which
# holds the generated data/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build && exec ./velmora
