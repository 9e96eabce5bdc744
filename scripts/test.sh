#!/usr/bin/env bash
# Sets up, builds and runs every test: logic, windows (offscreen) and the real
# program under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 300
