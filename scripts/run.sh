#!/usr/bin/env bash
# Installs what is needed, builds Supplink in Release and starts the wizard.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DSUPPLINK_BUILD_TESTS=OFF -DSUPPLINK_BUILD_BENCH=OFF
cmake --build "$root/build/release" --target supplink voorbeeldpakket
exec "$root/build/release/supplink" "$@"
