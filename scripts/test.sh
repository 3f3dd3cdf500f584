#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit tests,
# headless simulations and the end-to-end tests under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
