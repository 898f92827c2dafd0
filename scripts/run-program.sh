#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Folioneer developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Usage: run-program.sh [--install-only] PROGRAM_DIR [PREFIX] [SCREENSHOT]
#
# Installs the built program folder PROGRAM_DIR into PREFIX (default $HOME/Folioneer) and starts
# the program from there.
#   - The program itself (the executable and the icons) is always updated.
#   - Data files a user may have edited (templates, the prompt catalogue, prompt.txt, ...) are
#     copied only when they are not there yet.
#   - projects/ is created when missing and otherwise never touched.
# With no display (neither DISPLAY nor WAYLAND_DISPLAY set) the program runs under its own Xvfb:
# the script waits for the first window, writes a screenshot of it to SCREENSHOT (default
# ${TMPDIR:-/tmp}/folioneer-first-window.png), ends the program and exits 0.
# --install-only installs and does not start the program.
set -euo pipefail

install_only=0
if [[ "${1:-}" == "--install-only" ]]; then
  install_only=1
  shift
fi

program_dir=${1:?usage: run-program.sh [--install-only] PROGRAM_DIR [PREFIX] [SCREENSHOT]}
prefix=${2:-$HOME/Folioneer}
screenshot=${3:-${TMPDIR:-/tmp}/folioneer-first-window.png}
window_timeout=${FOLIONEER_WINDOW_TIMEOUT:-30}

if [[ ! -x "$program_dir/folioneer" ]]; then
  echo "run-program.sh: no built program in $program_dir (expected $program_dir/folioneer)" >&2
  exit 1
fi

is_program_file() {
  case "$1" in
    folioneer | *.ico) return 0 ;;
    *) return 1 ;;
  esac
}

# Copies one file so that a reader never sees it half-written (a running copy of the program or
# a crash mid-copy leaves either the old or the new file).
install_file() {
  local from=$1 to=$2
  mkdir -p "$(dirname "$to")"
  cp -p "$from" "$to.new.$$"
  mv -f "$to.new.$$" "$to"
}

install_program_folder() {
  mkdir -p "$prefix"
  local updated=0 added=0 kept=0 relative
  while IFS= read -r -d '' relative; do
    relative=${relative#./}
    if is_program_file "$relative"; then
      install_file "$program_dir/$relative" "$prefix/$relative"
      updated=$((updated + 1))
    elif [[ -e "$prefix/$relative" ]]; then
      kept=$((kept + 1))
    else
      install_file "$program_dir/$relative" "$prefix/$relative"
      added=$((added + 1))
    fi
  done < <(cd "$program_dir" && find . -path ./projects -prune -o -type f -print0)
  # Empty folders of the layout (an empty catalogue, for instance) exist in the installed copy too.
  while IFS= read -r -d '' relative; do
    mkdir -p "$prefix/${relative#./}"
  done < <(cd "$program_dir" && find . -path ./projects -prune -o -type d -print0)
  mkdir -p "$prefix/projects"
  echo "Installed the program in $prefix: $updated program files updated, $added data files added," \
    "$kept data files kept as they were; projects/ left untouched."
}

# Set by run_headless; global because the EXIT trap runs after the function has returned.
work="" xvfb_pid="" program_pid=""
cleanup() {
  if [[ -n "$program_pid" ]]; then kill "$program_pid" 2>/dev/null || true; wait "$program_pid" 2>/dev/null || true; fi
  if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  if [[ -n "$work" ]]; then rm -rf "$work"; fi
}

# Runs the program on a private X server and photographs its first window.
run_headless() {
  local display_number="" window=""
  work=$(mktemp -d)
  trap cleanup EXIT

  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): running the program under Xvfb."
  for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "run-program.sh: $tool is missing (run scripts/install-deps.sh)" >&2; exit 1; }
  done
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    display_number=$(head -n1 "$work/display" 2>/dev/null || true)
    [[ -n "$display_number" ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
  done
  [[ -n "$display_number" ]] || { echo "run-program.sh: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$display_number"
  export XDG_RUNTIME_DIR="$work"

  (cd "$prefix" && exec ./folioneer) &
  program_pid=$!
  for _ in $(seq $((window_timeout * 10))); do
    window=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    kill -0 "$program_pid" 2>/dev/null || { echo "run-program.sh: the program ended before showing a window" >&2; exit 1; }
    sleep 0.1
  done
  [[ -n "$window" ]] || { echo "run-program.sh: no window appeared within ${window_timeout}s" >&2; exit 1; }
  sleep 1 # the window is mapped before its first paint
  mkdir -p "$(dirname "$screenshot")"
  import -window "$window" "$screenshot"
  echo "The first window (\"$(xdotool getwindowname "$window")\") appeared; screenshot written to $screenshot"
}

install_program_folder
if ((install_only)); then
  exit 0
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  run_headless
  exit 0
fi
cd "$prefix"
exec ./folioneer
