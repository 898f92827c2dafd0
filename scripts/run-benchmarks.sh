#!/usr/bin/env bash
# Runs every benchmark executable in BUILD_DIR/bench/ (default build) and prints its figures.
#   scripts/run-benchmarks.sh [BUILD_DIR]
# Exit status: non-zero when a benchmark fails or there is none to run.
set -uo pipefail

build_dir="${1:-build}"
bench_dir="$build_dir/bench"
if [[ ! -d "$bench_dir" ]]; then
  echo "run-benchmarks: $bench_dir does not exist; build first (make bench)" >&2
  exit 1
fi
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

status=0
ran=0
while IFS= read -r -d '' program; do
  name="$(basename "$program")"
  echo "== $name"
  if ! "$program"; then
    echo "run-benchmarks: $name failed" >&2
    status=1
  fi
  ran=$((ran + 1))
  echo
done < <(find "$bench_dir" -maxdepth 1 -type f -perm -u+x ! -name '*.a' ! -name '*.so' -print0 | sort -z)

if ((ran == 0)); then
  echo "run-benchmarks: no benchmark in $bench_dir" >&2
  exit 1
fi
exit $status
