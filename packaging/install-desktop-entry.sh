#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Folioneer developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Usage: install-desktop-entry.sh [--remove]
#
# Adds Folioneer to the desktop's application menu for the current user, pointing at the program
# folder this script lies in (a .desktop file cannot hold a relative path, so run it again after
# moving the folder). --remove takes the entry away again. Nothing outside
# ${XDG_DATA_HOME:-~/.local/share}/applications is written.
set -euo pipefail

folder=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P)
applications="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
entry="$applications/folioneer.desktop"

if [[ "${1:-}" == "--remove" ]]; then
  rm -f "$entry"
  echo "Removed $entry"
  exit 0
fi

if [[ ! -x "$folder/folioneer" ]]; then
  echo "install-desktop-entry.sh: $folder/folioneer is missing; run this script from the unpacked program folder." >&2
  exit 1
fi
if [[ "$folder" == *$'\n'* || "$folder" == *$'\r'* ]]; then
  echo "install-desktop-entry.sh: the folder name holds a line break, which a desktop entry cannot express." >&2
  exit 1
fi

# A desktop entry string: backslash is written \\ (and tab \t).
desktop_string() {
  local s=${1//\\/\\\\}
  printf '%s' "${s//$'\t'/\\t}"
}

# One Exec argument: quoted, with " ` $ \ escaped by a backslash and % doubled; the result is
# then written as a desktop entry string, which doubles the backslashes once more.
exec_argument() {
  local s=$1
  s=${s//\\/\\\\}
  s=${s//\"/\\\"}
  s=${s//\`/\\\`}
  s=${s//\$/\\\$}
  s=${s//%/%%}
  desktop_string "\"$s\""
}

mkdir -p "$applications"
tmp="$entry.new.$$"
{
  echo "[Desktop Entry]"
  echo "Type=Application"
  echo "Version=1.0"
  echo "Name=Folioneer"
  echo "GenericName=Book Writing Assistant"
  echo "Comment=Write a non-fiction book with an AI chat tool"
  echo "Exec=$(exec_argument "$folder/folioneer")"
  echo "Path=$(desktop_string "$folder")"
  echo "Icon=$(desktop_string "$folder/folioneer.png")"
  echo "Terminal=false"
  echo "Categories=Office;WordProcessor;"
  echo "StartupNotify=true"
} >"$tmp"
mv -f "$tmp" "$entry"
if command -v update-desktop-database >/dev/null; then
  update-desktop-database "$applications" 2>/dev/null || true
fi
echo "Wrote $entry (program folder: $folder)"
