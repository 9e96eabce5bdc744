#!/usr/bin/env bash
# Sets up, builds and runs every test: logic, windows (offscreen) and the real
# program under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
# A debug build, so that the numerics' contract assertions are live.
scripts/setup.sh build-test Debug
ctest --test-dir build-test --output-on-failure -j"$(nproc)" --timeout 300
