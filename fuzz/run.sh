#!/usr/bin/env bash
# Runs the fuzz targets built in build-fuzz, each for the given number of seconds (default
# 60): the session core alone (core) and the whole client with its windows (received), or
# only the one named. New inputs gather in build-fuzz/corpus-core and build-fuzz/corpus
# (kept between runs); a finding is written to build-fuzz/ as crash-*, timeout-* or oom-*
# and the run fails.
#
# Usage: fuzz/run.sh [SECONDS] [core|received]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
only="${2:-}"
case "$only" in "" | core | received) ;; *) echo "unknown target $only" >&2; exit 2 ;; esac

# run TARGET CORPUS: leaks are checked at exit only (a check after every input would take
# most of the time); inputs that run faster are picked more often.
run() {
  mkdir -p "build-fuzz/$2"
  echo "== fuzz_$1 for $seconds s" >&2
  build-fuzz/"fuzz_$1" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -detect_leaks=0 \
    -entropic_scale_per_exec_time=1 -print_final_stats=1 -artifact_prefix=build-fuzz/ "build-fuzz/$2" fuzz/corpus
}

failed=0
[ "$only" = received ] || run core corpus-core || failed=1
[ "$only" = core ] || run received corpus || failed=1
exit "$failed"
