#!/usr/bin/env bash
# Builds the Windows programs (scripts/build-windows.sh, which installs what is missing) and packs
# them for each architecture into dist/: an installer, propdesk-VERSION-ARCH-setup.exe (made with
# makensis from packaging/windows/propdesk.nsi), and a portable zip, propdesk-VERSION-ARCH.zip,
# holding both programs and a read-me in a folder of the same name. The programs are stripped of
# their debugging information. Usage: scripts/package-windows.sh [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh "$@"

# The project's version and home page, as CMake gave them to the build.
build=build-windows-x86_64
version=$(sed -n 's/.*kVersion\[\] = "\(.*\)";/\1/p' "$build/generated/common/version.h")
homepage=$(sed -n 's/^CMAKE_PROJECT_HOMEPAGE_URL:STATIC=//p' "$build/CMakeCache.txt")
version_quad=$(IFS=.; read -ra numbers <<<"$version.0.0.0"; echo "${numbers[*]:0:4}")

dist=$PWD/dist
mkdir -p "$dist"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for arch in x86_64 i686; do
  build=build-windows-$arch
  name=propdesk-$version-$arch
  folder=$stage/$name
  mkdir -p "$folder"
  for program in src/win32/propdesk.exe src/cli/propdesk-native2ascii.exe; do
    "$arch-w64-mingw32-strip" -o "$folder/$(basename "$program")" "$build/$program"
  done
  # Notepad's line ends, and a byte-order mark so that every Notepad reads the Japanese as UTF-8.
  { printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/" -e 's/$/\r/' packaging/windows/README.txt; } >"$folder/README.txt"

  rm -f "$dist/$name.zip"
  (cd "$stage" && python3 -m zipfile -c "$dist/$name.zip" "$name")

  # The installer's own icon is the editor's, taken from the folder after the zip is made.
  cp "$build/src/win32/resources/propdesk.ico" "$folder/"
  makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$version" -DVERSION_QUAD="$version_quad" -DARCH="$arch" \
    -DSTAGE="$folder" -DHOMEPAGE="$homepage" -DOUTFILE="$dist/$name-setup.exe" packaging/windows/propdesk.nsi
done
ls -l "$dist"/*"$version"*
