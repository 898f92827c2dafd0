#!/usr/bin/env bash
# Installs the built program folder to PREFIX and starts it (filled in by the packaging work).
set -euo pipefail
exec "$1/folioneer"
