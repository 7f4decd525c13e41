#!/usr/bin/env bash
# Installs what building, testing and running the program need. Safe to run again:
# apt-get is only asked for packages that are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libsqlite3-dev libgl-dev
  postgresql libpq-dev
  # tests: a transaction pooler in front of the test server, through which the limits must hold
  pgbouncer
  libsodium-dev
  # the register's spreadsheets, and an independent reader of them for the tests
  libxlsxwriter-dev python3-openpyxl
  qt6-pdf-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # bench/backup_bench.cpp: SQLite's own shell makes the baseline copy
  sqlite3
  fonts-noto-cjk poppler-utils
  # the build makes the page typeface from Noto Serif CJK SC without its radical characters
  python3-fonttools
  # Qt's own dialogs, buttons and calendars in Chinese
  qt6-translations-l10n
  # tests: a CUPS scheduler with a PDF queue stands in for the desk's printer
  cups printer-driver-cups-pdf
  dpkg-dev file desktop-file-utils appstream lintian
  # scripts/fuzz.sh: clang and its libFuzzer and sanitizer runtimes
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
