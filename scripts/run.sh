#!/usr/bin/env bash
# Installs what is missing, builds, and shows the bundled example file as native text.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh build >/dev/null
exec build/src/cli/propdesk-native2ascii -reverse -encoding UTF-8 examples/orders_ja.properties
