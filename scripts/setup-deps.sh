#!/usr/bin/env bash
# Installs the Debian packages the build, the editor and the tests need; quick when all are there.
# With "windows", also what the Windows cross build, its installer and its tests under Wine need.
set -euo pipefail

packages=(
  build-essential cmake ninja-build python3
  libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n
  xvfb xauth xdotool fonts-ipafont-gothic
  desktop-file-utils appstream libxml2-utils man-db shared-mime-info libglib2.0-bin dpkg-dev
)
if [[ ${1:-} == windows ]]; then
  # fonts-wine: Wine's own fonts, whose Marlett draws the buttons of title bars that Wine draws.
  packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine wine64 fonts-wine locales nsis)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# 32-bit Wine runs the i686 programs. It comes from the i386 architecture, with the 32-bit
# libraries it recommends (those of X among them), as they are not there for anything else.
# Without it the i686 programs are built but not run, so a machine that cannot have it still tests
# the rest.
if [[ ${1:-} == windows ]] && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "ok installed"; then
  echo "Installing: wine32:i386"
  { dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386; } &&
    $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq wine32:i386 ||
    echo "Could not install wine32:i386; the i686 programs will not be run." >&2
fi

# The Windows tests run Wine in a Japanese and in an English locale; Wine names files in the
# locale's encoding, so the system must have both.
if [[ ${1:-} == windows ]]; then
  for locale in ja_JP en_US; do
    locale -a | grep -qx "$locale.utf8" || $sudo localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  done
fi
