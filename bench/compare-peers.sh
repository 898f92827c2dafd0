#!/usr/bin/env bash
# Converts the plain-text benchmark's corpus (400 seeded RTF files of 20-60 KB) to text with
# our reader and with other programs, in the same run, and prints each one's time beside ours.
#   bench/compare-peers.sh [BUILD_DIR]   (default build; needs bench_rtf_plain_text and the tools)
# Peers: unrtf --text, pandoc -f rtf -t plain, LibreOffice headless. Missing peers are installed
# with apt when possible (FOLIONEER_NO_INSTALL=1 skips that) and skipped otherwise.
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$source_dir/build}"
bench="$build_dir/bench/bench_rtf_plain_text"
rtf2text="$build_dir/tools/folioneer-rtf2text"
for program in "$bench" "$rtf2text"; do
  if [[ ! -x "$program" ]]; then
    echo "compare-peers: $program is missing; build the project first" >&2
    exit 1
  fi
done

if [[ "${FOLIONEER_NO_INSTALL:-0}" != 1 ]]; then
  wanted=()
  command -v unrtf >/dev/null || wanted+=(unrtf)
  command -v pandoc >/dev/null || wanted+=(pandoc)
  command -v soffice >/dev/null || wanted+=(libreoffice-writer-nogui)
  if ((${#wanted[@]} > 0)); then
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    echo "compare-peers: installing ${wanted[*]}" >&2
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${wanted[@]}" \
      >/dev/null || echo "compare-peers: could not install ${wanted[*]}; those peers are skipped" >&2
  fi
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$bench" --write-corpus "$work/corpus" >/dev/null
mapfile -t files < <(find "$work/corpus" -name '*.rtf' | sort)
bytes=$(cat "${files[@]}" | wc -c)

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l; }

# Ours: one process for the whole corpus, as the export reads every section in one go.
start=$(now)
"$rtf2text" "${files[@]}" >"$work/ours.txt"
ours=$(elapsed "$start" "$(now)")

declare -A times=()
declare -A how=(
  [unrtf]="unrtf --text, one process per file"
  [pandoc]="pandoc -f rtf -t plain, one process per file"
  [libreoffice]="soffice --headless --convert-to txt, batches of 200 files"
)
if command -v unrtf >/dev/null; then
  start=$(now)
  for f in "${files[@]}"; do unrtf --text "$f" >/dev/null 2>&1 || true; done
  times[unrtf]=$(elapsed "$start" "$(now)")
fi
if command -v pandoc >/dev/null; then
  start=$(now)
  for f in "${files[@]}"; do pandoc -f rtf -t plain "$f" >/dev/null 2>&1 || true; done
  times[pandoc]=$(elapsed "$start" "$(now)")
fi
if command -v soffice >/dev/null; then
  # soffice silently ignores arguments past about the 253rd: batches of at most 200 files.
  profile="$work/lo-profile"
  mkdir -p "$work/lo-out"
  start=$(now)
  for ((i = 0; i < ${#files[@]}; i += 200)); do
    soffice -env:UserInstallation="file://$profile" --headless --convert-to "txt:Text (encoded):UTF8" \
      --outdir "$work/lo-out" "${files[@]:i:200}" >/dev/null 2>&1 || true
  done
  times[libreoffice]=$(elapsed "$start" "$(now)")
  converted=$(find "$work/lo-out" -name '*.txt' | wc -l)
  ((converted == ${#files[@]})) || echo "compare-peers: LibreOffice converted $converted of ${#files[@]} files" >&2
fi

# Each figure twice: for people, and as a RESULT line (key value unit goal description) for
# scripts/make-performance-report.sh.
megabytes=$(echo "$bytes / 1000000" | bc -l)
printf 'Corpus: %d files, %.1f MB\n' "${#files[@]}" "$megabytes"
printf 'RESULT peers.corpus %.2f MB - %d RTF files of 20-60 KB\n' "$megabytes" "${#files[@]}"
printf '%-12s %9.2f s   %7.1f MB/s   1.0x\n' folioneer "$ours" "$(echo "$megabytes / $ours" | bc -l)"
printf 'RESULT peers.folioneer.seconds %.2f s - folioneer-rtf2text, one process for the corpus\n' "$ours"
for peer in unrtf pandoc libreoffice; do
  if [[ -n "${times[$peer]:-}" ]]; then
    t=${times[$peer]}
    printf '%-12s %9.2f s   %7.1f MB/s   %.1fx our time\n' "$peer" "$t" "$(echo "$megabytes / $t" | bc -l)" \
      "$(echo "$t / $ours" | bc -l)"
    printf 'RESULT peers.%s.seconds %.2f s - %s\n' "$peer" "$t" "${how[$peer]}"
    printf 'RESULT peers.%s.ratio %.2f x - %s time over ours\n' "$peer" "$(echo "$t / $ours" | bc -l)" "$peer"
  else
    printf '%-12s not available\n' "$peer"
    printf 'UNAVAILABLE peers.%s\n' "$peer"
  fi
done
