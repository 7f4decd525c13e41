#!/usr/bin/env bash
# Builds and runs the benchmarks. The store's and the register's run on PostgreSQL against a
# throwaway server; the million-receipt databases are built on the first run (a few minutes).
# Arguments go to every benchmark program (for example --benchmark_filter=PostgreSQL).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
bench="${BUILD_DIR:-build}/bench"
export QT_QPA_PLATFORM=offscreen
"$bench/recalculate_bench" "$@"
"$bench/stored_date_time_bench" "$@"
"$bench/backup_bench" "$@"
# One server for the store programs, so that its million receipts are built once.
scripts/pg-server.sh run sh -c 'export BILLING_BENCH_PG="$BILLING_TEST_PG"; bench=$1; shift;
    "$bench/store_bench" "$@" && "$bench/register_bench" "$@" && "$bench/shift_bench" "$@" &&
    "$bench/deposit_bench" "$@"' \
    sh "$bench" "$@"
