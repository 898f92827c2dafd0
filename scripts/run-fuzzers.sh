#!/usr/bin/env bash
# Builds the libFuzzer targets (a separate clang build of the core library with ASan and UBSan)
# and either replays the committed inputs through them or explores from a seed set.
#   scripts/run-fuzzers.sh --replay
#       Runs every input of fuzz/corpus/ and fuzz/regressions/ once through each target, in a
#       fixed order, with every property check fatal. Nothing random: it fails only when one of
#       those inputs fails. This is what `make test` runs.
#   scripts/run-fuzzers.sh --build
#       Only configures and builds the targets (for callers that then run several seed sets at
#       the same time, which must not build at once).
#   scripts/run-fuzzers.sh [--seeds own|shared|both] [SECONDS]
#       Explores for SECONDS (default 600) per target from the seed set: own = the committed
#       inputs (fuzz/corpus/ and fuzz/regressions/), shared = the shared RTF corpus only, both =
#       the two together (default). Each seed set keeps its own working corpus, so one set's
#       finds do not steer another's runs. Prints the seed set, seconds run, executions, crashes
#       and property mismatches per target.
# Environment: FOLIONEER_FUZZ_BUILD_DIR (default build/fuzz), JOBS (default 2),
# FOLIONEER_FUZZ_BUILT=1 (the targets are built already: skip configuring and building),
# FOLIONEER_FUZZ_ROUNDTRIP_SECONDS (exploration only: the round-trip target's seconds, when they
# should differ from the other targets'; its property needs the longest runs),
# FOLIONEER_SHARED_DIR (default ../shared beside the clone, for the shared RTF corpus).
# FOLIONEER_FUZZ_MISMATCHES=report (exploration only): a failed property check (two paths
# disagreeing about a document's text, say) saves the input under findings/ and the run goes on;
# only sanitizer errors, timeouts and out-of-memory count as crashes. The default, crash, stops
# on both.
# Exit status: 0 when no target crashed (replay: every input passed), 1 otherwise (exploration
# keeps a crashing input under the build directory's artifacts/ folder; make it a regression input
# in fuzz/regressions/), 2 on bad arguments, 77 when clang or libFuzzer is missing, or when the
# shared seed set is asked for and the shared corpus is not there.
set -euo pipefail

mode=explore
seed_set=both
seconds=600
while (($# > 0)); do
  case "$1" in
  --replay) mode=replay ;;
  --build) mode=build ;;
  --seeds)
    seed_set="${2:-}"
    shift
    ;;
  *) seconds="$1" ;;
  esac
  shift
done
if [[ "$seed_set" != own && "$seed_set" != shared && "$seed_set" != both ]] || ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
  echo "usage: run-fuzzers.sh --replay | --build | [--seeds own|shared|both] [SECONDS]" >&2
  exit 2
fi

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${FOLIONEER_FUZZ_BUILD_DIR:-$source_dir/build/fuzz}"
shared_dir="${FOLIONEER_SHARED_DIR:-$source_dir/../shared}"
jobs="${JOBS:-2}"
targets=(fuzz_rtf_plain_text fuzz_rtf_document fuzz_rtf_roundtrip)

compiler="$(command -v clang++-14 || true)"
if [[ -z "$compiler" ]] || ! ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "run-fuzzers: clang++-14 with libclang-rt-14-dev is needed (scripts/install-deps.sh --test)" >&2
  exit 77
fi
if [[ "$mode" == explore && "$seed_set" != own && ! -d "$shared_dir/rtf-corpus" ]]; then
  echo "run-fuzzers: the shared RTF corpus is not at $shared_dir/rtf-corpus" >&2
  exit 77
fi

# Runs started side by side after a --build leave the building to it (FOLIONEER_FUZZ_BUILT=1):
# two configures of one folder at once could spoil it.
if [[ "${FOLIONEER_FUZZ_BUILT:-0}" != 1 || "$mode" == build ]]; then
  cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFOLIONEER_FUZZ=ON -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
  cmake --build "$build_dir" -j "$jobs" --target "${targets[@]}"
fi
if [[ "$mode" == build ]]; then
  exit 0
fi

export QT_QPA_PLATFORM=offscreen
# Qt and fontconfig keep caches until exit; only the fuzz targets' own leaks would matter and
# the targets allocate nothing that outlives an input.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"

if [[ "$mode" == replay ]]; then
  unset FOLIONEER_FUZZ_FINDINGS
  mapfile -t inputs < <(find "$source_dir/fuzz/corpus" "$source_dir/fuzz/regressions" -type f | LC_ALL=C sort)
  failed=0
  for target in "${targets[@]}"; do
    log="$build_dir/$target.replay.log"
    # Files given by name are each run once; libFuzzer then exits without mutating anything.
    if "$build_dir/fuzz/$target" -timeout=20 -rss_limit_mb=2560 -detect_leaks=0 "${inputs[@]}" >"$log" 2>&1; then
      printf '%-22s replayed %d inputs: passed\n' "$target" "${#inputs[@]}"
    else
      printf '%-22s replayed %d inputs: FAILED\n' "$target" "${#inputs[@]}"
      grep -a -E 'Running: |ERROR: |fuzz check failed|SUMMARY' "$log" | tail -4 >&2 || true
      echo "run-fuzzers: the whole output is in $log" >&2
      failed=1
    fi
  done
  exit "$failed"
fi

# Seeds of the chosen set (copied per run, never committed).
seeds="$build_dir/seeds-$seed_set"
rm -rf "$seeds"
mkdir -p "$seeds"
if [[ "$seed_set" != shared ]]; then
  cp "$source_dir"/fuzz/corpus/* "$source_dir"/fuzz/regressions/* "$seeds"/
fi
if [[ "$seed_set" != own ]]; then
  find "$shared_dir/rtf-corpus" -name '*.rtf' -size -512k -print0 |
    while IFS= read -r -d '' f; do cp "$f" "$seeds/shared-$(echo "$f" | md5sum | cut -c1-12).rtf"; done
fi

summary=()
total_crashes=0
for target in "${targets[@]}"; do
  corpus="$build_dir/corpus-$seed_set/$target"
  artifacts="$build_dir/artifacts/$seed_set/$target"
  target_seeds="$build_dir/seeds-$seed_set-$target"
  rm -rf "$artifacts" "$target_seeds"
  mkdir -p "$corpus" "$artifacts"
  cp -r "$seeds" "$target_seeds"
  findings="$build_dir/findings/$seed_set/$target"
  rm -rf "$findings"
  if [[ "${FOLIONEER_FUZZ_MISMATCHES:-crash}" == report ]]; then
    mkdir -p "$findings"
    export FOLIONEER_FUZZ_FINDINGS="$findings"
  else
    unset FOLIONEER_FUZZ_FINDINGS
  fi
  log="$build_dir/$target.$seed_set.log"
  : >"$log"
  executions=0
  crashes=0
  restarts=0
  started=$SECONDS
  target_seconds=$seconds
  if [[ "$target" == fuzz_rtf_roundtrip && -n "${FOLIONEER_FUZZ_ROUNDTRIP_SECONDS:-}" ]]; then
    target_seconds=$FOLIONEER_FUZZ_ROUNDTRIP_SECONDS
  fi
  deadline=$((SECONDS + target_seconds))
  # libFuzzer stops at the first crash; start it again for the rest of the time so that one
  # crash does not hide the others (at most 20 restarts). Crashes are counted as distinct inputs.
  while ((SECONDS < deadline && restarts < 20)); do
    remaining=$((deadline - SECONDS))
    run_log="$build_dir/$target.$seed_set.run.log"
    set +e
    "$build_dir/fuzz/$target" -max_total_time="$remaining" -timeout=20 -rss_limit_mb=2560 -max_len=65536 \
      -dict="$source_dir/fuzz/rtf.dict" -artifact_prefix="$artifacts/" -print_final_stats=1 \
      -detect_leaks=0 "$corpus" "$target_seeds" >"$run_log" 2>&1
    status=$?
    set -e
    cat "$run_log" >>"$log"
    # The final statistics when the run printed them, else its last progress line ("#N ...").
    runs=$(grep -a 'stat::number_of_executed_units' "$run_log" | tail -1 | awk '{print $2}')
    if [[ -z "$runs" ]]; then
      runs=$(grep -aoE '^#[0-9]+' "$run_log" | tail -1 | tr -d '#')
    fi
    executions=$((executions + ${runs:-0}))
    if ((status == 0)); then
      break
    fi
    # An input that crashes is taken out of the corpus, so the next start does not stop on it.
    newest=$(ls -t "$artifacts" 2>/dev/null | head -1)
    if [[ -z "$newest" ]]; then
      echo "run-fuzzers: $target stopped with status $status and no crash input; see $log" >&2
      break
    fi
    hash="${newest##*-}"
    find "$corpus" "$target_seeds" -type f -exec sha1sum {} + | awk -v h="$hash" '$1 == h {print $2}' |
      xargs -r rm -f
    restarts=$((restarts + 1))
  done
  # libFuzzer also keeps inputs that took over 10 s (slow-unit-*) without stopping; on a machine
  # busy with other work that says nothing about the input, so they are not crashes. An input
  # that really hangs is a timeout (20 s) and counts.
  crashes=$(find "$artifacts" -type f ! -name 'slow-unit-*' | wc -l)
  slow=$(find "$artifacts" -type f -name 'slow-unit-*' | wc -l)
  if ((slow > 0)); then
    echo "run-fuzzers: $target kept $slow input(s) that took over 10 s (not crashes) in $artifacts" >&2
  fi
  mismatches=0
  if [[ -d "$findings" ]]; then
    mismatches=$(find "$findings" -type f | wc -l)
  fi
  summary+=("$(printf '%-22s seeds %-6s seconds %6d   executions %10d   crashes %d   property mismatches %d' \
    "$target" "$seed_set" $((SECONDS - started)) "$executions" "$crashes" "$mismatches")")
  if ((mismatches > 0)); then
    echo "run-fuzzers: $target: inputs failing a property check are in $findings" >&2
  fi
  total_crashes=$((total_crashes + crashes))
  if ((crashes > 0)); then
    echo "run-fuzzers: $target crashed; inputs in $artifacts, log in $log" >&2
    grep -a -m3 -E 'ERROR: |fuzz check failed|SUMMARY' "$log" >&2 || true
  fi
done

echo "Fuzzing, $seconds s per target${FOLIONEER_FUZZ_ROUNDTRIP_SECONDS:+ (round trip ${FOLIONEER_FUZZ_ROUNDTRIP_SECONDS} s)}, seeds: $seed_set"
printf '%s\n' "${summary[@]}"
((total_crashes == 0))
