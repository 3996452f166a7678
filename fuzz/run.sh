#!/usr/bin/env bash
# Runs the received-data fuzz target for the given number of seconds (default 60), built in
# build-fuzz. New inputs gather in build-fuzz/corpus (kept between runs); a finding is
# written to build-fuzz/ as crash-*, timeout-* or oom-* and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
mkdir -p build-fuzz/corpus
# Leaks are checked at exit only: a leak check after every input would take most of the time.
exec build-fuzz/fuzz_received -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -detect_leaks=0 \
  -print_final_stats=1 -artifact_prefix=build-fuzz/ build-fuzz/corpus fuzz/corpus
