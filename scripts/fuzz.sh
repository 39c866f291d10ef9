#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (build/fuzz) and runs them.
#
#   scripts/fuzz.sh [seconds] [target ...]    default: 600 seconds, every target
#   FUZZ_PARALLEL=3 scripts/fuzz.sh           run three targets at a time (default 1)
#
# Each target runs as one process on its corpus build/fuzz/corpus/<target>,
# seeded from fuzz/seeds/<target>, the workbook fixtures (fuzz_xls, fuzz_xlsx)
# and the public Jet files in ../shared/testdata/mdb when present
# (fuzz_jetmdb). Findings go to build/fuzz/findings/<target>/, the log to
# build/fuzz/logs/<target>.log. fuzz_jetmdb reads through libmdb, which
# faults, hangs, leaks and allocates without end on damaged files (the program
# runs it in a child process with a memory budget): it runs forked, so that it
# logs each finding and fuzzes on, and without leak checks (the child ends
# after its read). With SUPPLINK_FUZZ_JET_BASE=<a .mdb file> it fuzzes byte
# changes to that file, which gives findings a test can rebuild from the
# public corpus. Every finding becomes a test (tests/platform/test_fuzzfindings.cpp).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" fuzz
seconds=${1:-600}
shift || true
build="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSUPPLINK_BUILD_FUZZ=ON -DSUPPLINK_BUILD_TESTS=OFF >/dev/null
all=$(cd "$root/fuzz" && ls fuzz_*.cmake | sed 's/\.cmake$//')
targets=${*:-$all}
cmake --build "$build" -j "${FUZZ_BUILD_JOBS:-4}" --target $targets

run_one() {
  local target=$1 name=${1#fuzz_}
  local corpus="$build/corpus/$target" findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings" "$build/logs"
  [ -d "$root/fuzz/seeds/$name" ] && cp -n "$root/fuzz/seeds/$name"/* "$corpus"/ 2>/dev/null || true
  case $name in
    xls | xlsx) cp -n "$root"/tests/platform/data/*.xls* "$corpus"/ 2>/dev/null || true ;;
    jetmdb) cp -n "$root"/../shared/testdata/mdb/*.mdb "$corpus"/ 2>/dev/null || true
            chmod u+w "$corpus"/* 2>/dev/null || true ;;
  esac
  local options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/")
  [ "$name" = jetmdb ] &&
    options+=(-fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 -timeout=30 -detect_leaks=0)
  # The targets write their files into the temporary folder; a folder in memory keeps them fast.
  TMPDIR=${TMPDIR:-/dev/shm} "$build/fuzz/$target" "${options[@]}" "$corpus" >"$build/logs/$target.log" 2>&1 || true
  echo "$target: $(grep -E 'cov:' "$build/logs/$target.log" | tail -1)"
  echo "$target: findings: $(ls "$findings" | wc -l)"
}
export -f run_one
export build root seconds
printf '%s\n' $targets | xargs -P "${FUZZ_PARALLEL:-1}" -I{} bash -c 'run_one {}'
