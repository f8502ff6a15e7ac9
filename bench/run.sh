#!/usr/bin/env bash
# Builds the benchmarks (preset "bench"), generates exchange files of 100k and 1M elements and reports:
# read MB/s and count ns per element (Google Benchmark), the whole `jwcount-cli count FILE --format json`
# against `wc -l FILE` on the same file in the page cache (best of several runs), and peak memory against
# the file size. Targets on the 1M file: >= 300 MB/s whole CLI and peak memory <= 3x the file size.
#
#   bench/run.sh [ELEMENTS...]      (default: 100000 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=${RUNS:-7}
BUILD=build/bench
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
CLI=$BUILD/app/cli/jwcount-cli
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/jwcount-bench.XXXXXX")
trap 'rm -rf "$SCRATCH"' EXIT

# Best wall time of the command over $RUNS runs, in seconds (output discarded).
best_time() {
  local best="" start end took
  for _ in $(seq "$RUNS"); do
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1
    end=$EPOCHREALTIME
    took=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.6f", e - s }')
    if [ -z "$best" ] || awk -v t="$took" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$took; fi
  done
  echo "$best"
}

# A field of one benchmark in Google Benchmark's JSON output (one "key": value per line).
bench_value() {
  local json=$1 name=$2 field=$3
  awk -v name="\"$name/real_time\"," -v field="\"$field\":" '
    $1 == "\"name\":" { inside = ($2 == name) }
    inside && $1 == field { sub(/,$/, "", $2); print $2; exit }' <<<"$json"
}

printf '| elements | file MB | read MB/s | count ns/element | CLI json ms | wc -l ms | CLI / wc | CLI MB/s | peak RSS MB | RSS / file |\n'
printf '|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n'
for elements in "${@:-100000 1000000}"; do
  for n in $elements; do
    file=$SCRATCH/JWC_TEMP_$n.TXT
    "$BUILD/bench/jwcount-generate" "$n" "$file"
    size=$(stat -c %s "$file")
    cat "$file" >/dev/null  # into the page cache

    # With the large memory pages that jwcount-cli asks for when it reads a large file.
    json=$(GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$BUILD/bench/jwcount_bench" --file="$file" \
      --benchmark_format=json 2>/dev/null)
    read_bps=$(bench_value "$json" ReadTempFile bytes_per_second)
    count_s=$(bench_value "$json" CountElementsRun per_element)

    cli=$(best_time "$CLI" count "$file" --format json)
    wc=$(best_time wc -l "$file")
    rss_kb=$(/usr/bin/time -f %M "$CLI" count "$file" --format json 2>&1 >/dev/null | tail -1)

    awk -v n="$n" -v size="$size" -v rbps="$read_bps" -v cs="$count_s" -v cli="$cli" -v wc="$wc" -v rss="$rss_kb" '
      BEGIN {
        printf "| %d | %.1f | %.0f | %.1f | %.0f | %.1f | %.1fx | %.0f | %.1f | %.2fx |\n",
          n, size / 1e6, rbps / 1e6, cs * 1e9, cli * 1e3, wc * 1e3, cli / wc, size / cli / 1e6,
          rss * 1024 / 1e6, rss * 1024 / size
      }'
  done
done
