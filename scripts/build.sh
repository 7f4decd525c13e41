#!/usr/bin/env bash
# Configures and builds the project into build/ (Release with debug info unless BUILD_TYPE says).
# BUILD_DIR names another build folder, BUILD_TARGET builds one target instead of all; arguments
# are passed on to CMake's configure step (-DBILLING_SANITIZE=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
cmake --build "$build_dir" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
