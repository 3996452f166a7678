#!/usr/bin/env bash
# Builds the client, prepares the per-user working folder with the shipped data files and starts it there.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
work="${ORVELIRC_HOME:-$HOME/.local/share/orvelirc}"
mkdir -p "$work"
for f in "$here"/data/*; do
  [ -e "$work/$(basename "$f")" ] || cp "$f" "$work/"
done
cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$here/build/orvelirc"
fi
exec "$here/build/orvelirc"
