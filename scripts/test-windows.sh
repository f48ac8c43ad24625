#!/usr/bin/env bash
# Runs the Windows tests under Wine, in a private prefix made for the run: the test programs of the
# x86_64 build and the converter against the Linux one, once with a Japanese locale (code page 932,
# as on the users' machines) and once with an English one (code page 1252); the i686 test programs
# too, in the Japanese locale, when 32-bit Wine (Debian wine32) is present. Last the installers in
# dist/, each in a fresh prefix of its own, in the Japanese locale.
# Usage: scripts/test-windows.sh [LINUX_BUILD]   (after scripts/package-windows.sh; default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=${1:-build}
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The window tests need a display, and Wine's desktop is made with the first program: one virtual
# display for the whole run, before Wine starts.
source scripts/virtual_display.sh
trap 'wineserver -k 2>/dev/null || true; stop_virtual_display; rm -rf "$WINEPREFIX"' EXIT
start_virtual_display 1024x768 || { echo "Xvfb did not start" >&2; exit 1; }

# One Wine server for the whole run, so that each program starts quickly; then the prefix is made.
wineserver -p
timeout 300 wineboot -i >/dev/null 2>&1

# The i686 programs are the same code built for 32-bit Windows: one run, in the users' locale.
i686=false
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "ok installed"; then
  i686=true
else
  echo "wine32 is not installed: the i686 test programs and installer are built but not run."
fi

for locale in ja_JP.UTF-8 en_US.UTF-8; do
  architectures=(x86_64)
  [ "$i686" = true ] && [ "$locale" = ja_JP.UTF-8 ] && architectures+=(i686)
  for arch in "${architectures[@]}"; do
    echo "== Windows $arch under Wine, $locale"
    LANG=$locale LC_ALL=$locale ctest --test-dir "build-windows-$arch" --output-on-failure -j "$(nproc)"
  done
  echo "== The Windows converter against the Linux one, $locale"
  LANG=$locale LC_ALL=$locale tests/windows/converter_test.sh "$linux_build" build-windows-x86_64
done

version=$(sed -n 's/.*kVersion\[\] = "\(.*\)";/\1/p' build-windows-x86_64/generated/common/version.h)
installers=(x86_64)
[ "$i686" = true ] && installers+=(i686)
for arch in "${installers[@]}"; do
  echo "== The $arch installer under Wine"
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 tests/windows/installer_test.sh "dist/propdesk-$version-$arch-setup.exe" "$version"
done
