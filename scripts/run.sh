#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. The database is created on first
# use; arguments are passed on (for example --database PATH).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec "${BUILD_DIR:-build}/src/inpatient-billing" "$@"
