#!/usr/bin/env bash
# Writes docs/reliability.md from one run: the libFuzzer targets (scripts/run-fuzzers.sh), each
# explored from three seed sets in turn (its own committed seeds only, the shared corpus only,
# both), and the fault-injection and bad-input test rows listed in scripts/reliability-cases.tsv,
# run straight from their QtTest executables so that every test function and data row has its own
# result.
#   scripts/make-reliability-report.sh [FUZZ_SECONDS_PER_RUN]     (default 2400; 0 skips fuzzing)
# Each target runs FUZZ_SECONDS_PER_RUN from each seed set, so three times that in all; the
# report calls the round-trip target clean only after two hours in all without a crash or
# property mismatch.
# ROUNDTRIP_FUZZ_SECONDS, when set, gives the round-trip target that many seconds per seed set
# instead (its two hours can then be reached without running the other targets as long).
# FUZZ_AT_ONCE=1 runs the three seed sets at the same time instead of in turn: the same seconds
# each in a third of the wall-clock time, each with a share of the cores (the report says so, and
# its executions show what each run did).
# Environment: BUILD_DIR (default build, the build whose tests are run; configured as Release when
# it does not exist yet), FOLIONEER_FUZZ_BUILD_DIR (passed on to run-fuzzers.sh), REPORT (default
# docs/reliability.md), JOBS (default 2), FOLIONEER_BUILD_LOCK (a file to hold with flock while
# building, when the build folder is shared).
# Exit status: 0 when every case passed (rows marked as known faults included) and no fuzz target
# crashed, 1 otherwise. The report is written either way; the raw outputs stay in
# BUILD_DIR/reliability/.
set -euo pipefail

fuzz_seconds="${1:-2400}"
roundtrip_fuzz_seconds="${ROUNDTRIP_FUZZ_SECONDS:-$fuzz_seconds}"
fuzz_at_once="${FUZZ_AT_ONCE:-0}"
seed_sets=(own shared both)
# The round-trip target's hours in all, across the seed sets, before the report calls it clean.
clean_roundtrip_seconds=7200
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$(realpath -m "${BUILD_DIR:-$source_dir/build}")"
report="$(realpath -m "${REPORT:-$source_dir/docs/reliability.md}")"
cases="$source_dir/scripts/reliability-cases.tsv"
jobs="${JOBS:-2}"
work="$build_dir/reliability"

if ! [[ "$fuzz_seconds" =~ ^[0-9]+$ && "$roundtrip_fuzz_seconds" =~ ^[0-9]+$ ]]; then
  echo "make-reliability-report: FUZZ_SECONDS_PER_RUN must be a whole number of seconds" >&2
  exit 2
fi

locked() {
  if [[ -n "${FOLIONEER_BUILD_LOCK:-}" ]]; then
    flock "$FOLIONEER_BUILD_LOCK" "$@"
  else
    "$@"
  fi
}

started_at="$(date -u '+%Y-%m-%d %H:%M UTC')"
rm -rf "$work"
mkdir -p "$work"

# 1. The test executables named in the case list.
mapfile -t executables < <(grep -v '^#' "$cases" | cut -f5 | sort -u)
if [[ ! -f "$build_dir/build.ninja" ]]; then
  locked cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
locked cmake --build "$build_dir" -j "$jobs" --target "${executables[@]}"

# 2. Each executable once, in its own empty working folder, as CTest would run it.
tests_failed=0
for exe in "${executables[@]}"; do
  binary="$(find "$build_dir/tests" -type f -name "$exe" -perm -u+x | head -1)"
  if [[ -z "$binary" ]]; then
    echo "make-reliability-report: $exe was not built" >&2
    echo 127 >"$work/$exe.status"
    continue
  fi
  echo "Running $exe"
  run_dir="$(mktemp -d)"
  set +e
  (cd "$run_dir" && QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 FOLIONEER_SOURCE_DIR="$source_dir" \
    FOLIONEER_SHARED_DIR="${FOLIONEER_SHARED_DIR:-$source_dir/../shared}" \
    FOLIONEER_PROGRAM_DIR="$build_dir/program" \
    timeout 1800 "$binary" -o "$work/$exe.txt,txt" >"$work/$exe.log" 2>&1)
  echo $? >"$work/$exe.status"
  set -e
  rm -rf "$run_dir"
done

# 3. The fuzzers.
fuzz_status=0
fuzz_not_run=""
: >"$work/fuzz.txt"
# One seed set's exploration; its output goes to files of its own, so seed sets can run at once.
fuzz_seed_set() {
  local seed_set="$1" status
  echo "Fuzzing for $fuzz_seconds s per target from seed set $seed_set"
  set +e
  # A failed property check is kept and counted apart from crashes, and the run goes on.
  FOLIONEER_FUZZ_MISMATCHES="${FOLIONEER_FUZZ_MISMATCHES:-report}" JOBS="$jobs" FOLIONEER_FUZZ_BUILT="$fuzz_at_once" \
    FOLIONEER_FUZZ_ROUNDTRIP_SECONDS="$roundtrip_fuzz_seconds" \
    "$source_dir/scripts/run-fuzzers.sh" --seeds "$seed_set" "$fuzz_seconds" \
    >"$work/fuzz.$seed_set.txt" 2>"$work/fuzz.$seed_set.err"
  status=$?
  set -e
  echo "$status" >"$work/fuzz.$seed_set.status"
}
if ((fuzz_seconds > 0)); then
  if [[ "$fuzz_at_once" == 1 ]]; then
    # Built once first: the runs share the fuzz build folder.
    set +e
    "$source_dir/scripts/run-fuzzers.sh" --build >"$work/fuzz.build.log" 2>&1
    build_status=$?
    set -e
    for seed_set in "${seed_sets[@]}"; do
      if ((build_status == 0)); then
        fuzz_seed_set "$seed_set" &
      else
        cp "$work/fuzz.build.log" "$work/fuzz.$seed_set.err"
        echo "$build_status" >"$work/fuzz.$seed_set.status"
      fi
    done
    wait
  else
    for seed_set in "${seed_sets[@]}"; do
      fuzz_seed_set "$seed_set"
    done
  fi
  for seed_set in "${seed_sets[@]}"; do
    cat "$work/fuzz.$seed_set.txt" >>"$work/fuzz.txt" 2>/dev/null || true
    cat "$work/fuzz.$seed_set.err" >>"$work/fuzz.err" 2>/dev/null || true
    status="$(cat "$work/fuzz.$seed_set.status")"
    if ((status == 77)); then
      fuzz_not_run+="- seed set \`$seed_set\`: not run ($(tail -1 "$work/fuzz.$seed_set.err"))"$'\n'
    elif ((status != 0)); then
      fuzz_status=$status
    fi
  done
fi
finished_at="$(date -u '+%Y-%m-%d %H:%M UTC')"

# The result of one test row in a QtTest text log: FAIL, XPASS, XFAIL<TAB>reason, SKIP, PASS, or
# NOT RUN when the row does not appear (renamed, or its executable stopped early).
result_of() {
  local log="$1" id="$2"
  if [[ ! -f "$log" ]]; then
    echo "NOT RUN"
    return
  fi
  awk -v id="$id" '
    substr($0, 8, 2) != ": " { next }
    {
      status = substr($0, 1, 7)
      gsub(/ /, "", status)
      rest = substr($0, 10)
      if (rest != id && index(rest, id " ") != 1) next
      seen[status] = 1
      if (status == "XFAIL") reason = substr(rest, length(id) + 2)
    }
    END {
      if (seen["FAIL!"]) print "FAIL"
      else if (seen["XPASS"]) print "XPASS"
      else if (seen["XFAIL"]) print "XFAIL\t" reason
      else if (seen["SKIP"]) print "SKIP"
      else if (seen["PASS"]) print "PASS"
      else print "NOT RUN"
    }' "$log"
}

# Markdown table cells: a "|" would end the cell.
cell() {
  local text="${1//|/\\|}"
  printf '%s' "$text"
}

group_digits() {
  awk -v n="$1" 'BEGIN { s = sprintf("%d", n); out = ""
    while (length(s) > 3) { out = "," substr(s, length(s) - 2) out; s = substr(s, 1, length(s) - 3) }
    print s out }'
}

# 4. The report.
fault_rows=""
input_rows=""
known_faults=""
declare -A counts=()
total_cases=0
while IFS=$'\t' read -r kind first second third exe id; do
  [[ -z "$kind" || "$kind" == \#* ]] && continue
  outcome="$(result_of "$work/$exe.txt" "$id")"
  status="${outcome%%$'\t'*}"
  shown="$status"
  case "$status" in
  XFAIL)
    reason="${outcome#*$'\t'}"
    shown="known fault"
    known_faults+="- \`$(cell "$id")\`: $(cell "$reason")"$'\n'
    ;;
  PASS) ;;
  *) tests_failed=1 ;;
  esac
  counts["$shown"]=$((${counts["$shown"]:-0} + 1))
  total_cases=$((total_cases + 1))
  row="| $(cell "$first") | $(cell "$second") | $(cell "$third") | \`$(cell "$id")\` | **$shown** |"
  if [[ "$kind" == fault ]]; then
    fault_rows+="$row"$'\n'
  else
    input_rows+="$row"$'\n'
  fi
done <"$cases"

hours() {
  awk -v s="$1" 'BEGIN { printf "%.2f", s / 3600 }'
}

fuzz_rows=""
fuzz_total_seconds=0
fuzz_total_crashes=0
fuzz_total_mismatches=0
roundtrip_seconds=0
roundtrip_findings=0
if ((fuzz_seconds > 0)) && [[ -s "$work/fuzz.txt" ]]; then
  while read -r target _ seed_set _ seconds _ executions _ crashes _ _ mismatches; do
    fuzz_rows+="| \`$target\` | $seed_set | $(hours "$seconds") | $seconds |"
    fuzz_rows+=" $(group_digits "$executions") | $crashes | $mismatches |"$'\n'
    fuzz_total_seconds=$((fuzz_total_seconds + seconds))
    fuzz_total_crashes=$((fuzz_total_crashes + crashes))
    fuzz_total_mismatches=$((fuzz_total_mismatches + mismatches))
    if [[ "$target" == fuzz_rtf_roundtrip ]]; then
      roundtrip_seconds=$((roundtrip_seconds + seconds))
      roundtrip_findings=$((roundtrip_findings + crashes + mismatches))
    fi
  done < <(grep -E '^fuzz_[a-z_]+ +seeds ' "$work/fuzz.txt")
fi
if [[ -n "$fuzz_rows" ]]; then
  fuzz_rows+="| **Total** | | **$(hours "$fuzz_total_seconds")** |"
  fuzz_rows+=" **$fuzz_total_seconds** | | **$fuzz_total_crashes** | **$fuzz_total_mismatches** |"$'\n'
fi
# What the run says about the round-trip property: clean only after two hours in all.
if ((roundtrip_findings > 0)); then
  roundtrip_verdict="The round-trip target found $roundtrip_findings failing inputs in $(hours "$roundtrip_seconds") hours."
elif ((roundtrip_seconds >= clean_roundtrip_seconds)); then
  roundtrip_verdict="The round-trip target ran $(hours "$roundtrip_seconds") hours in all without a crash or property mismatch${fuzz_not_run:+, though not from every seed set}."
else
  roundtrip_verdict="The round-trip target ran $(hours "$roundtrip_seconds") hours in all; that is too short to call it clean (two hours are needed)."
fi
if ((fuzz_total_mismatches > 0)); then
  tests_failed=1
fi
if ((fuzz_status != 0)) || { ((fuzz_seconds > 0)) && [[ -z "$fuzz_rows" ]]; }; then
  tests_failed=1
fi

git_commit="$(git -C "$source_dir" rev-parse --short HEAD 2>/dev/null || echo unknown)"
if [[ -n "$(git -C "$source_dir" status --porcelain --untracked-files=no 2>/dev/null)" ]]; then
  git_commit+=" with local changes"
fi
cpu="$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//' || true)"
memory="$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)"
os="$(sed -n 's/^PRETTY_NAME="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' /etc/os-release 2>/dev/null || true)"
qt="$(grep -h -m1 -o 'Qt [0-9][0-9.]*' "$work"/*.txt 2>/dev/null | head -1 || true)"
qt="${qt:-unknown}"
compiler_path="$(grep -m1 '^CMAKE_CXX_COMPILER:' "$build_dir/CMakeCache.txt" 2>/dev/null | cut -d= -f2- || true)"
compiler="$("${compiler_path:-c++}" --version 2>/dev/null | head -1 || true)"
user_note="as user $(id -un)"
if [[ $(id -u) -eq 0 ]]; then
  user_note+=" (root: a read-only file is one without write permission for its owner, which the program honours even for root)"
fi
summary=""
for key in PASS "known fault" FAIL XPASS SKIP "NOT RUN"; do
  if [[ -n "${counts[$key]:-}" ]]; then
    summary+="${summary:+, }${counts[$key]} $key"
  fi
done

if ((fuzz_seconds == 0)); then
  fuzz_section="Not run in this report (it was made with 0 fuzzing seconds)."
elif [[ -z "$fuzz_rows" ]]; then
  fuzz_section="The fuzzers did not run (exit status $fuzz_status):"$'\n\n'"\`\`\`"$'\n'"$(tail -5 "$work/fuzz.err")"$'\n'"\`\`\`"
else
  asked="$fuzz_seconds s were asked for each target from each seed set"
  if ((roundtrip_fuzz_seconds != fuzz_seconds)); then
    asked="$fuzz_seconds s were asked for the first two targets and $roundtrip_fuzz_seconds s for the round-trip target, from each seed set"
  fi
  if [[ "$fuzz_at_once" == 1 ]]; then
    asked+=", the three seed sets at the same time on $(nproc) cores (so each had a share of them: compare executions, not seconds, with runs made in turn)"
  fi
  fuzz_section="$asked: \`own\` is the
committed inputs only (\`fuzz/corpus/\`, \`fuzz/regressions/\`), \`shared\` the shared RTF corpus
only, \`both\` the two together. Each seed set has a working corpus of its own, so the finds of one
do not steer another; the seeds steer the search, and a long clean run from one seed set says little
about the others.

| Target | Seeds | Hours | Seconds | Executions | Crashes | Property mismatches |
|---|---|---:|---:|---:|---:|---:|
$fuzz_rows
${fuzz_not_run:+$fuzz_not_run
}$roundtrip_verdict

- \`fuzz_rtf_plain_text\`: bytes to plain text; never crashes, gives well-formed UTF-16, and the
  text stays within a constant times the input.
- \`fuzz_rtf_document\`: bytes to the editor's document; never crashes, and its plain text equals
  the plain-text path's, so the editor and the export never disagree. The flow the book export
  reads straight from the bytes, where it claims to be exact, equals the document's flow.
- \`fuzz_rtf_roundtrip\`: whatever document the reader builds, the writer saves as 7-bit RTF that
  reads back to the same text and writes back to the same bytes.

A crash is a sanitizer error (AddressSanitizer, UndefinedBehaviorSanitizer), a timeout (20 s per
input) or running out of memory (2.5 GB); each crashing input is counted once. An input libFuzzer
keeps only for having taken over 10 s is not a crash. A property mismatch
is an input on which a target's check failed; it is kept and the run goes on. The wall-clock
seconds include loading the corpus. Crashing and mismatching inputs are kept in the fuzz build
folder's \`artifacts/\` and \`findings/\`."
fi

if [[ -n "$fuzz_rows" ]]; then
  fuzz_summary="Fuzzing: $(hours "$fuzz_total_seconds") hours in all, $fuzz_total_crashes crashes, $fuzz_total_mismatches property mismatches. $roundtrip_verdict"
else
  fuzz_summary="Fuzzing: not run."
fi

mkdir -p "$(dirname "$report")"
cat >"$report" <<EOF
# Reliability report

This file is written by \`scripts/make-reliability-report.sh\`; every figure and every result
below comes from the run it describes. Nothing in the result columns is written by hand.

What was tried:

- **Fuzzing.** The three libFuzzer targets in \`fuzz/\` feed random and mutated bytes, guided by
  coverage and an RTF dictionary and seeded in turn with the committed inputs, the shared RTF corpus
  and both, to
  the RTF engine built with AddressSanitizer and UndefinedBehaviorSanitizer. Content files are
  RTF, so this is the reader every section and the export go through.
- **Fault injection.** The disk fills (a file-size limit stands in for a full disk), files are
  read-only, folders vanish while the program uses them, and saves are killed part-way, through
  the program's own operations: saving a section, creating, loading and deleting a project,
  copying the whole book.
- **Bad input.** Binary garbage, NUL bytes, invalid UTF-8, huge single lines and deep RTF nesting
  as the project's files, and hostile project names and section titles, fed to the same
  operations. Each case checks a clear message or a sound result, and that nothing is written
  outside the project.

To reproduce: \`make reliability\` (\`FUZZ_SECONDS=<seconds per target and seed set>\`, default
2400), or \`scripts/make-reliability-report.sh [seconds per target and seed set]\`. The test rows
are listed with what they prove in \`scripts/reliability-cases.tsv\`; each comes from a QtTest executable run on its
own (\`build/tests/.../<executable> -o file,txt\`), and \`ctest\` runs the same tests.

## Machine and run

| | |
|---|---|
| Run | $started_at to $finished_at |
| Source | commit $git_commit |
| Processor | $(cell "${cpu:-unknown}"), $(nproc) logical cores |
| Memory | $memory |
| System | $(cell "$os"), Linux $(uname -r), $(uname -m) |
| Build | $(cell "${compiler:-unknown}"); fuzzers with clang 14 |
| Qt | ${qt#Qt } |
| User | $(cell "$user_note") |

## Fuzzing

$fuzz_section

## Fault injection

| Fault | What was done | What the program must do | Test | Result |
|---|---|---|---|---|
$fault_rows
## Bad input

| Input | Where it was fed | Expected behaviour | Test | Result |
|---|---|---|---|---|
$input_rows
## Summary

$total_cases cases: $summary. $fuzz_summary
EOF
if [[ -n "$known_faults" ]]; then
  cat >>"$report" <<EOF

## Known faults

These rows state the behaviour the program should have and are marked as expected failures
until the fault is mended; the reason is the test's own:

$known_faults
EOF
fi

echo "Wrote $report ($total_cases cases: $summary)"
if ((tests_failed)); then
  echo "make-reliability-report: some cases did not pass or a fuzz target crashed; outputs in $work" >&2
  exit 1
fi
