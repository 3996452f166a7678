#!/usr/bin/env bash
# Builds the client and starts it; it prepares its own working folder (~/.local/share/orvelirc).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$here/build/bin/orvelirc"
fi
exec "$here/build/bin/orvelirc"
