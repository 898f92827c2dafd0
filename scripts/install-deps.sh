#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Folioneer need.
# Idempotent: asks apt only for packages that are not installed yet.
# Usage: install-deps.sh [--test | --deb]   (--test adds the test tools, --deb what `make deb` needs)
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  # spelling as you type, with the US and British English dictionaries
  libhunspell-dev hunspell-en-us hunspell-en-gb
  # zip containers of the exported books (DOCX, EPUB, ODT)
  libzip-dev
  # the start-up benchmark watches the X server through xcb
  libxcb1-dev
  # the readers of pasted HTML and Markdown
  libxml2-dev libmd4c-dev
  # a sound fallback for the Verdana face the windows ask for
  fonts-dejavu-core
  # headless runs and end-to-end tests
  xvfb xauth xdotool xclip x11-utils imagemagick
)

if [[ "${1:-}" == "--test" ]]; then
  packages+=(
    # fuzzing (libFuzzer with sanitizers)
    clang-14 libclang-rt-14-dev
    # the formatting check
    clang-format
    # RTF interop test: our files converted to text by LibreOffice headless
    libreoffice-writer-nogui
    # the checkers the Debian package's tests run
    lintian desktop-file-utils appstream
    # book export interop tests: pandoc reads every format, epubcheck (a Java program) the EPUB
    pandoc epubcheck default-jre-headless
    # paste interop test: an answer copied out of a real browser, and a watch on files opened
    chromium inotify-tools
    # the book backup benchmark times Info-ZIP's zip beside ours
    zip
  )
fi
if [[ "${1:-}" == "--test" || "${1:-}" == "--deb" ]]; then
  # CPack's DEB generator: dpkg-shlibdeps computes the dependencies, file finds the binaries
  packages+=(dpkg-dev file)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
