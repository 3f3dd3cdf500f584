#!/usr/bin/env bash
# Configures and builds into build/: everything (the game, its data, its
# tests and the benchmark), or only the targets named.
#   bash scripts/build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
targets=()
[ $# -eq 0 ] || targets=(--target "$@")
cmake --build build -j"$(nproc)" "${targets[@]}"
