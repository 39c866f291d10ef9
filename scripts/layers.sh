#!/usr/bin/env bash
# Prints the dependency graph of the program's libraries: for each library
# (logic, windows, program) the floor it stands on, what it links and whose
# headers it includes. The configuration checks the layers first
# (cmake/Supplink.cmake) and stops with a message when one is broken: a logic
# library reaching Qt Widgets, libraries linking in a cycle, a library linking
# one that does not stand below it, an include of a library that is not linked.
#   scripts/layers.sh [build folder]        (default: build/test)
# For a picture: cmake --graphviz=graph/supplink.dot build/test, then dot -Tsvg.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/test}
cmake -S "$root" -B "$build" >/dev/null
cat "$build/supplink-layers.txt"
