#!/usr/bin/env bash
# Installs the Debian packages the build, the editor and the tests need; quick when all are there.
# With "windows", also what the Windows cross build and its tests under Wine need.
set -euo pipefail

packages=(
  build-essential cmake ninja-build python3
  libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n
  xvfb xauth xdotool fonts-ipafont-gothic
  desktop-file-utils appstream libxml2-utils man-db shared-mime-info libglib2.0-bin dpkg-dev
)
if [[ ${1:-} == windows ]]; then
  packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine wine64)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
