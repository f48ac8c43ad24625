#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test, then builds and
# runs them again under AddressSanitizer and UndefinedBehaviorSanitizer. Last it builds the
# programs in the optimised Release configuration, whose warnings only the optimiser finds, and
# cross-builds and packs the Windows programs and runs their tests and installer under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

scripts/build.sh build -DPROPDESK_WERROR=ON
ctest --test-dir build --output-on-failure -j "$jobs"

BUILD_TYPE=Debug scripts/build.sh build-sanitize -DPROPDESK_WERROR=ON -DPROPDESK_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

BUILD_TYPE=Release scripts/build.sh build-release -DPROPDESK_WERROR=ON -DPROPDESK_BUILD_TESTS=OFF

# The Windows programs, cross-built and packed, and their tests under Wine.
scripts/package-windows.sh -DPROPDESK_WERROR=ON
scripts/test-windows.sh build
