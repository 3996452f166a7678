#!/usr/bin/env bash
# Installs, builds and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The Debian package installs, and the installed program starts from an empty home.
scripts/check-package.sh
cd build
ctest --output-on-failure -j"$(nproc)"
