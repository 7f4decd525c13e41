#!/usr/bin/env bash
# Builds the Debian package and checks it without root: the files it installs, its menu entry and
# metainfo, lintian's errors, and the program unpacked from it (its version, and the user's guide
# it finds: --help names the guide the About window opens).
set -euo pipefail
cd "$(dirname "$0")/.."
package=$(scripts/package.sh | tail -n 1)
build_dir=${BUILD_DIR:-build}

fail() {
  echo "check-package: $*" >&2
  exit 1
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
[ "$(basename "$package")" = "491mx_${version}_$(dpkg --print-architecture).deb" ] ||
  fail "unexpected package name $package (project version $version)"
[ "$(dpkg-deb -f "$package" Version)" = "$version" ] || fail "package version is not $version"
dpkg-deb -f "$package" Depends | grep -q 'libqt6widgets6 (>=' ||
  fail "the dependencies were not found from the binary"

desktop_id=example._491mx.inpatient_billing
expected_files=(
  usr/bin/inpatient-billing
  usr/share/491mx/使用说明.htm
  "usr/share/applications/$desktop_id.desktop"
  "usr/share/metainfo/$desktop_id.metainfo.xml"
  usr/share/man/man1/inpatient-billing.1.gz
  usr/share/doc/491mx/copyright
  usr/share/doc/491mx/changelog.gz
)
for size in 16 22 24 32 48 64 128; do
  expected_files+=("usr/share/icons/hicolor/${size}x${size}/apps/$desktop_id.png")
done
contents=$(dpkg-deb -c "$package" | awk '{ print $NF }')
for file in "${expected_files[@]}"; do
  grep -qxF "./$file" <<<"$contents" || fail "the package lacks /$file"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root"
root=$(realpath "$root")

desktop_file="$root/usr/share/applications/$desktop_id.desktop"
desktop-file-validate "$desktop_file"
grep -qxF "Icon=$desktop_id" "$desktop_file" || fail "the menu entry names another icon"
grep -qxF 'Exec=inpatient-billing print-setup' "$desktop_file" ||
  fail "the menu entry has no print-setup action"
appstreamcli validate --no-net "$root/usr/share/metainfo/$desktop_id.metainfo.xml" >/dev/null

lintian --fail-on error "$package" 2> >(grep -v 'root privileges' >&2)

program="$root/usr/bin/inpatient-billing"
export QT_QPA_PLATFORM=offscreen
[ "$("$program" --version 2>/dev/null)" = "491MX $version" ] ||
  fail "the unpacked program does not print version $version"
guide_line=$("$program" --help 2>/dev/null | grep '^使用说明：') || true
[ "$guide_line" = "使用说明：$root/usr/share/491mx/使用说明.htm" ] ||
  fail "the unpacked program does not find its installed guide: ${guide_line:-no guide line}"

echo "check-package: $(basename "$package") installs what it should and its program finds its guide"
