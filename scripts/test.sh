#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Widget tests run offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
# The PostgreSQL tests need a server: a throwaway one, stopped at the end whatever happens.
source scripts/pg-server.sh
trap pg_server_stop EXIT
pg_server_start
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
