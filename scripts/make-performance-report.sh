#!/usr/bin/env bash
# Runs every benchmark, the comparison with other RTF-to-text converters and the start-up
# comparison with FocusWriter, and writes docs/performance.md from the figures of this run.
#   scripts/make-performance-report.sh [BUILD_DIR]   (default build; `make bench` builds and runs it)
# FOLIONEER_NO_INSTALL=1 installs nothing: missing peers are left out of the report.
# FOLIONEER_STARTUP_RUNS sets the measured start-ups per program (default 11).
# Exit status: non-zero when a benchmark failed; the report is written all the same.
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$(realpath "${1:-$source_dir/build}")"
report="$source_dir/docs/performance.md"
startup_runs="${FOLIONEER_STARTUP_RUNS:-11}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The machine, before anything runs.
load_start="$(cut -d' ' -f1-3 /proc/loadavg)"
date_start="$(date -u '+%Y-%m-%d %H:%M UTC')"
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build_dir/CMakeCache.txt" 2>/dev/null | head -1; }
cpu="$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -1)"
[[ -n "$cpu" ]] || cpu="$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1)"
cores="$(nproc) online; $(lscpu 2>/dev/null | sed -n 's/^Thread(s) per core: *//p') thread(s) per core"
memory="$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)"
os="$(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r)"
qt="$(qtpaths6 --qt-version 2>/dev/null || pkg-config --modversion Qt6Core 2>/dev/null || echo unknown)"
compiler_path="$(cache_value CMAKE_CXX_COMPILER)"
compiler="$("${compiler_path:-c++}" --version 2>/dev/null | head -1 || echo unknown)"
build_type="$(cache_value CMAKE_BUILD_TYPE)"
commit="$(git -C "$source_dir" rev-parse --short HEAD 2>/dev/null || echo unknown)"
git -C "$source_dir" diff --quiet HEAD 2>/dev/null || commit="$commit with uncommitted changes"

status=0
bench_status=0
echo "== benchmarks" >&2
"$source_dir/scripts/run-benchmarks.sh" "$build_dir" | tee "$work/bench.txt" || bench_status=1

echo "== RTF-to-text peers" >&2
"$source_dir/bench/compare-peers.sh" "$build_dir" | tee "$work/peers.txt" || status=1

echo "== start-up" >&2
if ! command -v focuswriter >/dev/null && [[ "${FOLIONEER_NO_INSTALL:-0}" != 1 ]]; then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  echo "make-performance-report: installing focuswriter" >&2
  { DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends focuswriter; } \
    >/dev/null 2>&1 || true
fi
versus=()
if command -v focuswriter >/dev/null; then
  versus=(--command focuswriter focuswriter)
  focuswriter_version="$(dpkg-query -W -f='${Version}' focuswriter 2>/dev/null || echo unknown)"
else
  echo "make-performance-report: focuswriter cannot be installed; only our start-up is measured" >&2
fi
if [[ -x "$build_dir/bench/bench_startup" ]]; then
  "$build_dir/bench/bench_startup" --runs "$startup_runs" "${versus[@]}" | tee "$work/startup.txt" || status=1
else
  echo "make-performance-report: bench_startup was not built (it needs xcb); no start-up figures" >&2
  : >"$work/startup.txt"
  status=1
fi
((bench_status == 0)) || status=1
load_end="$(cut -d' ' -f1-3 /proc/loadavg)"

# RESULT <key> <value> <unit> <goal> <description...> -> "| benchmark | description | value unit | goal | met |"
result_rows() {
  awk -v prefix="$1" '
    function shown(v) { return v >= 100 ? sprintf("%.0f", v) : sprintf("%.1f", v) }
    /^== / { bench = $2 }
    $1 == "RESULT" && index($2, prefix) == 1 {
      description = $0; sub(/^RESULT [^ ]+ [^ ]+ [^ ]+ [^ ]+ /, "", description)
      goal = $5; met = ""
      if (goal != "-") {
        op = goal; sub(/[0-9.]+$/, "", op); limit = substr(goal, length(op) + 1) + 0
        ok = (op == "<" && $3 < limit) || (op == "<=" && $3 <= limit) || (op == ">" && $3 > limit) ||
             (op == ">=" && $3 >= limit)
        met = ok ? "met" : "**missed**"
        goal = op " " limit " " $4
      } else goal = ""
      printf "| %s | %s | %s %s | %s | %s |\n", bench, description, shown($3), $4, goal, met
    }'
}
value() { awk -v key="$2" '$1 == "RESULT" && $2 == key { print $3 }' "$1"; }
# TITLE and WINDOWS lines of bench_startup: <tag> <key> <titles...>
titles() { awk -v key="$2" '($1 == "TITLE" || $1 == "WINDOWS") && $2 == key { sub(/^[A-Z]+ [^ ]+ /, ""); print }' "$1"; }
fixed() { [[ -n "$2" ]] && printf "%.${1}f" "$2" || printf "n/a"; }

{
  cat <<EOF
# Performance

What Folioneer's benchmarks measure on one machine, with the figures of one run of \`make bench\`,
which builds the benchmarks, runs them and writes this file (\`scripts/make-performance-report.sh
[BUILD_DIR]\`). \`scripts/run-benchmarks.sh\` prints the same benchmarks on the console only.
Every figure below comes from that run; a shared or busy machine makes them noisy, so compare the
load averages before trusting a change.

- The benchmarks in \`bench/\`: the main window (largest outline, opening, saving and reloading a
  2 MB section), the writer's tools (book search and word count over 1,000 sections of 30 KB,
  and a 2 MB section opened and typed in with spelling on), the whole-book export of 1,000
  sections as plain text and as DOCX, EPUB and ODT (beside pandoc converting the HTML export of
  the book's first 50 sections, timed against our export of those sections and stopped after
  300 s if unfinished), a book backup of the same 1,000 sections as one zip and its restore
  (beside Info-ZIP's \`zip -r\`, or \`tar czf\`, archiving the same folder), the RTF engine
  (plain-text throughput, reading and writing a 2 MB document), and pasting a chat answer of
  20 KB and 200 KB of HTML or Markdown (the click to the text shown). Times are medians or best runs as each row says.
- The RTF-to-text peers (\`bench/compare-peers.sh\`): the plain-text benchmark's corpus converted
  by our converter and by other programs in the same run.
- Start-up: process start to the first top-level window mapped, on a private Xvfb with no window
  manager, for Folioneer and FocusWriter (another Qt writing program) alternating run by run.

## Machine

| | |
|---|---|
| Date | $date_start |
| CPU | $cpu |
| Cores | $cores |
| Memory | $memory |
| OS | $os |
| Qt | $qt |
| Compiler | $compiler |
| Build type | ${build_type:-unknown} |
| Commit | $commit |
| Load average (1, 5, 15 min) | $load_start at the start, $load_end at the end |

## Benchmarks

| Benchmark | Figure | Measured | Goal | |
|---|---|---|---|---|
EOF
  # Start-up has its own section below, measured beside FocusWriter.
  result_rows "" <"$work/bench.txt" | grep -v '^| bench_startup ' || true
  if ((bench_status != 0)); then
    printf '\nA benchmark failed in this run; its figures are missing above.\n'
  fi

  corpus="$(value "$work/peers.txt" peers.corpus)"
  ours="$(value "$work/peers.txt" peers.folioneer.seconds)"
  cat <<EOF

## RTF to plain text beside other converters

The plain-text benchmark's corpus ($(grep -m1 '^Corpus:' "$work/peers.txt" | sed 's/^Corpus: //')) converted to
text by each program, all in the same run. Ours is \`folioneer-rtf2text\`, one process for the
whole corpus, as the export reads every section in one go.

| Program | How | Time | MB/s | Time relative to ours |
|---|---|---|---|---|
| Folioneer | folioneer-rtf2text, one process | $(fixed 2 "$ours") s | $(fixed 1 "$(echo "$corpus / $ours" | bc -l 2>/dev/null)") | 1.0 |
EOF
  for peer in unrtf pandoc libreoffice; do
    seconds="$(value "$work/peers.txt" "peers.$peer.seconds")"
    if [[ -n "$seconds" ]]; then
      how="$(awk -v key="peers.$peer.seconds" '$1 == "RESULT" && $2 == key { sub(/^RESULT [^ ]+ [^ ]+ [^ ]+ [^ ]+ /, ""); print }' "$work/peers.txt")"
      echo "| $peer | $how | $(fixed 2 "$seconds") s | $(fixed 1 "$(echo "$corpus / $seconds" | bc -l)") | $(fixed 1 "$(value "$work/peers.txt" "peers.$peer.ratio")") |"
    else
      echo "| $peer | not available on this machine | | | |"
    fi
  done

  cat <<EOF

## Start-up

From starting the process to its first top-level window being mapped, on one private Xvfb
(1600 x 1000, no window manager), $startup_runs measured runs per program, the two programs
alternating run by run. Each program gets an empty temporary home folder (HOME and the XDG
folders), kept across its runs; one unmeasured run of each comes first, to warm the page cache,
and is the run that meets the empty home folder. Each run ends with SIGTERM once the window is
up; the first and the last run first watch for 2 s more and list every window mapped meanwhile.

| Program | Median | Range | First run (empty home) | First window | Windows in 2 s, first run | Windows in 2 s, last run |
|---|---|---|---|---|---|---|
EOF
  for program in folioneer focuswriter; do
    median="$(value "$work/startup.txt" "startup.$program.median")"
    [[ -n "$median" ]] || continue
    echo "| $program | $(fixed 1 "$median") ms | $(fixed 1 "$(value "$work/startup.txt" "startup.$program.min")")-$(fixed 1 "$(value "$work/startup.txt" "startup.$program.max")") ms | $(fixed 1 "$(value "$work/startup.txt" "startup.$program.first_run")") ms | $(titles "$work/startup.txt" "startup.$program.runs") | $(titles "$work/startup.txt" "startup.$program.first_run") | $(titles "$work/startup.txt" "startup.$program.last_run") |"
  done
  echo
  if [[ -z "$(value "$work/startup.txt" startup.folioneer.median)" ]]; then
    echo "The start-up benchmark did not run or failed in this run: no figures."
  elif [[ -n "$(value "$work/startup.txt" startup.focuswriter.median)" ]]; then
    first="$(titles "$work/startup.txt" startup.focuswriter.first_run)"
    last="$(titles "$work/startup.txt" startup.focuswriter.last_run)"
    echo -n "FocusWriter $focuswriter_version (Debian package). In its first run, with an empty home folder, "
    if [[ "$first" == "$last" ]]; then
      echo "it mapped the same windows as in its last run ($first): no first-run dialog."
    else
      echo "it mapped $first, and in its last run $last: the first run differs."
    fi
  else
    echo "FocusWriter could not be installed on this machine; only Folioneer was measured."
  fi
} >"$work/performance.md"

mkdir -p "$(dirname "$report")"
mv "$work/performance.md" "$report"
echo "make-performance-report: wrote $report" >&2
exit $status
