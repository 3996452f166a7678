#!/usr/bin/env bash
# Installs, builds and runs the whole test suite; then the same suite built with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan), where any report fails its
# test; then the two fuzz targets, the session core alone and the whole client, about a
# minute each (build-fuzz, clang).
# JOBS sets the number of parallel jobs (default: every processor), FUZZ_SECONDS how long
# each fuzz target runs (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${JOBS:-$(nproc)}"
scripts/setup.sh
(cd build && ctest --output-on-failure -j"$jobs")
# The Debian package installs, and the installed program starts from an empty home.
scripts/check-package.sh

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEL_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 -DORVEL_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
fuzz/run.sh "${FUZZ_SECONDS:-60}"
