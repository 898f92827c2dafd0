#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Folioneer developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Usage: make-screenshots.sh [BUILD_DIR] [OUTPUT_FOLDER]
#
# Photographs the real program for the user manual and the README: builds the program folder and
# the screenshot driver in BUILD_DIR (default build), then runs the program on a private Xvfb,
# makes a sample book through its project manager as a user would, and writes the pictures to
# OUTPUT_FOLDER (default docs/images):
# project-manager-open.png, project-manager-create.png, sequel-panel.png and main-window.png.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
output=${2:-docs/images}
if [[ ! -f "$build_dir/build.ninja" ]]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build_dir" --target folioneer_program e2e_screenshots
QT_QPA_PLATFORM=offscreen "$build_dir/tests/e2e/e2e_screenshots" "$output" "$build_dir/program"
