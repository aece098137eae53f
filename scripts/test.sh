#!/usr/bin/env bash
# Sets up, builds and runs every test of Zidevavi headless.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/setup.sh"
cd "$repo/build"
ctest --output-on-failure --timeout 600
