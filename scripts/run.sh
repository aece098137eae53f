#!/usr/bin/env bash
# Sets up, builds and starts Zidevavi. Without a display it starts on a virtual one.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/setup.sh"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting Zidevavi on a virtual display (xvfb-run)."
    exec xvfb-run -a "$repo/build/zidevavi"
fi
exec "$repo/build/zidevavi"
