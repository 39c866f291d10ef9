#!/usr/bin/env bash
# Installs what is needed, builds Supplink with its tests and benchmarks, and
# runs every test. Then builds the tests again with AddressSanitizer,
# LeakSanitizer and UndefinedBehaviorSanitizer (build/sanitize) and runs them
# all once more: a sanitizer report of any process of a test, children
# included, fails that test (cmake/SanitizedTest.cmake). Exits non-zero when
# anything fails.
#
#   scripts/test.sh                 both runs
#   SUPPLINK_SANITIZE=0 scripts/test.sh   the plain run only
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
jobs=$(nproc)

build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"
(cd "$build" && ctest --output-on-failure -j "$jobs" --timeout 600)

if [ "${SUPPLINK_SANITIZE:-1}" != 0 ]; then
  sanitize="$root/build/sanitize"
  cmake -S "$root" -B "$sanitize" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSUPPLINK_SANITIZE=ON
  cmake --build "$sanitize" -j "$jobs"
  (cd "$sanitize" && ctest --output-on-failure -j "$jobs" --timeout 1800)
fi
