#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (clang, -DPICTALON_FUZZ=ON) and runs each of them on a fresh copy
# of its seed corpus; prints one line per target and exits nonzero when any of them crashed.
#   fuzz.sh [--smoke] [--jobs N] [SECONDS] [TARGET...]
#     SECONDS   fuzzing time per target (default 60; --smoke means 3, for CI)
#     --jobs N  targets run at the same time (default 1), each under nice
#     TARGET    gallery_file ini_document image_list page_builder jpeg_size colour (default all)
# Everything it writes stays in the build folder ($PICTALON_FUZZ_BUILD, default build-fuzz):
# corpus copies in fuzz-corpus/, logs in fuzz-logs/, crashing inputs in fuzz-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
jobs=1
targets=()
while (($#)); do
  case "$1" in
    --smoke) seconds=3 ;;
    --jobs) jobs=$2; shift ;;
    -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
    *[!0-9]*) targets+=("$1") ;;
    *) seconds=$1 ;;
  esac
  shift
done
all=(gallery_file ini_document image_list page_builder jpeg_size colour)
((${#targets[@]})) || targets=("${all[@]}")

# Inputs above libFuzzer's default 4096 bytes where the reader has more to show: the template
# window is 4096 bytes, a camera's header segments are larger still, and a gallery file's bytes
# after the record stand for an image details file.
max_len() {
  case "$1" in
    page_builder) echo 20000 ;;
    jpeg_size) echo 16384 ;;
    gallery_file) echo 8192 ;;
    *) echo 4096 ;;
  esac
}

scripts/install-deps.sh test
build=${PICTALON_FUZZ_BUILD:-build-fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPICTALON_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_one() {
  local t=$1
  local corpus="$build/fuzz-corpus/$t" artifacts="$build/fuzz-artifacts/$t" log="$build/fuzz-logs/$t.log"
  # Readers that take a path get each input through a scratch file: on a memory file system
  # when there is one, as rewriting a file thousands of times a second on a disk is slow.
  local scratch="$PWD/$build/fuzz-tmp/$t"
  [ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm/pictalon-fuzz-$t-$$
  rm -rf "$corpus" "$scratch"
  mkdir -p "$corpus" "$artifacts" "$scratch" "$(dirname "$log")"
  cp tests/fuzz/corpus/"$t"/* "$corpus"/
  rm -f "$artifacts"/*
  local dict=()
  [ -f "tests/fuzz/$t.dict" ] && dict=(-dict="tests/fuzz/$t.dict")
  TMPDIR=$scratch nice "$build/fuzz/fuzz_$t" "$corpus" "${dict[@]}" \
    -max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || true
  rm -rf "$scratch"
}

for t in "${targets[@]}"; do
  [ -d "tests/fuzz/corpus/$t" ] || { echo "unknown target: $t" >&2; exit 2; }
done
running=0
for t in "${targets[@]}"; do
  if ((running >= jobs)); then wait -n || true; running=$((running - 1)); fi
  run_one "$t" &
  running=$((running + 1))
done
wait

status=0
printf '%-14s %12s %7s %8s %8s  %s\n' target executions cov ft crashes "saved inputs"
for t in "${targets[@]}"; do
  log="$build/fuzz-logs/$t.log"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | grep 'cov:' | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  crashes=$(find "$build/fuzz-artifacts/$t" -type f | wc -l)
  # A run that ended without its final statistics died some other way: count it as a crash.
  if [ -z "$execs" ]; then execs=?; ((crashes == 0)) && crashes=1; fi
  where=-
  if ((crashes)); then where="$build/fuzz-artifacts/$t/ (log: $log)"; status=1; fi
  printf '%-14s %12s %7s %8s %8s  %s\n' "$t" "$execs" "${cov:-?}" "${ft:-?}" "$crashes" "$where"
done
exit $status
