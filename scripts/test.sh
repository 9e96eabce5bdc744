#!/usr/bin/env bash
# Installs what building and testing need, builds (into build-test/, a debug build, so
# that the numerics' contract assertions are live) and runs every test: logic, windows
# (offscreen), the real program under Xvfb, weston and wine, the packages.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
ensure_packages "${runtime_packages[@]}" "${test_packages[@]}"
build test
cd "$selenial_source" && ctest --preset test -j"$(nproc)"
