#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package into build/packages/
# (491mx_<version>_<architecture>.deb). Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
build_dir=${BUILD_DIR:-build}
rm -f "$build_dir"/packages/491mx_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
ls "$build_dir"/packages/491mx_*.deb
