#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Widget tests run offscreen.
#
# --sanitize builds into build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test there: a memory error, a leak of our own or undefined behaviour fails the test.
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=false
for argument in "$@"; do
  case $argument in
    --sanitize) sanitize=true ;;
    *)
      echo "usage: scripts/test.sh [--sanitize]" >&2
      exit 2
      ;;
  esac
done

scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
if $sanitize; then
  build_dir=build-sanitize
  # Debug keeps Qt's and our assertions on; the sanitizer flags add -O1.
  BUILD_DIR=$build_dir BUILD_TYPE=Debug BUILD_TARGET=billing_tests \
    scripts/build.sh -DBILLING_SANITIZE=ON
  export ASAN_OPTIONS=detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
else
  build_dir=${BUILD_DIR:-build}
  scripts/build.sh
fi
# The PostgreSQL tests need a server and the printing tests a CUPS scheduler with a PDF queue:
# throwaway ones, stopped at the end whatever happens.
source scripts/pg-server.sh
source scripts/cups-server.sh
trap 'cups_server_stop; pg_server_stop' EXIT
pg_server_start
cups_server_start
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
