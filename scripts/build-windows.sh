#!/usr/bin/env bash
# Cross-builds the Windows programs and their test programs with MinGW-w64, linked statically, into
# build-windows-x86_64/ and build-windows-i686/. Installs what is missing first.
# Usage: scripts/build-windows.sh [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh windows
for arch in x86_64 i686; do
  scripts/build.sh "build-windows-$arch" -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/mingw-w64-$arch.cmake" \
    -DPROPDESK_BUILD_SHELL=OFF "$@"
done
