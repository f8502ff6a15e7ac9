#!/usr/bin/env bash
# Builds the benchmarks (preset "bench"), generates exchange files of 100k and 1M elements, in the real
# style (as Jw_cad writes a much-edited drawing) and in the tidy style of the sample, and reports: read MB/s
# and count ns per element (Google Benchmark), the whole `jwcount-cli count FILE --format json` against
# `wc -l FILE` on the same file in the page cache (the median of the ratios of $RUNS alternating runs),
# and peak memory against the file size and per element. The style "tiny" is 10 million lines "0 0 1 1"
# (its element count is fixed). Targets: on the real 1M file the CLI within 10 times `wc -l` and peak
# memory at most 2 times the file size; on the tiny file the CLI within 60 times `wc -l`. Last, the quantity
# sheet: `count FILE --format json --rules RULES` against the same count without rules on the real 1M file
# with a take-off rules file of 1,000 rows (bench/takeoff-rules.py), the median of the run-by-run ratios
# (target: at most 1.2). Then the workbook: `count --format xlsx` against `--format json` on that file and on
# 10 million distinct texts (more than a sheet's rows), the time and peak memory of each.
#
#   bench/run.sh [ELEMENTS...]      (default: 100000 1000000)
#   STYLES="real tiny" RUNS=11 bench/run.sh 1000000
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=${RUNS:-7}
STYLES=${STYLES:-real tidy tiny}
BUILD=build/bench
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
CLI=$BUILD/app/cli/jwcount-cli
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/jwcount-bench.XXXXXX")
trap 'rm -rf "$SCRATCH"' EXIT

# Wall time of one run of the command, in seconds (output discarded).
one_time() {
  local start end
  start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.6f", e - s }'
}

# $RUNS alternating runs of the CLI and of `wc -l` on the file: prints the median CLI time, the median
# `wc -l` time and the median of the run-by-run ratios (a ratio of neighbouring runs survives a noisy
# machine better than either time).
cli_against_wc() {
  local file=$1 pairs=""
  for _ in $(seq "$RUNS"); do
    pairs+="$(one_time "$CLI" count "$file" --format json) $(one_time wc -l "$file")"$'\n'
  done
  awk '
    function median(a, n,   i, j, t) {
      for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
      return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
    }
    NF == 2 { n++; c[n] = $1; w[n] = $2; r[n] = $1 / $2 }
    END { printf "%.6f %.6f %.3f\n", median(c, n), median(w, n), median(r, n) }' <<<"$pairs"
}

# A field of one benchmark in Google Benchmark's JSON output (one "key": value per line).
bench_value() {
  local json=$1 name=$2 field=$3
  awk -v name="\"$name/real_time\"," -v field="\"$field\":" '
    $1 == "\"name\":" { inside = ($2 == name) }
    inside && $1 == field { sub(/,$/, "", $2); print $2; exit }' <<<"$json"
}

# One table row for the file: read and count speed, the CLI against `wc -l`, and peak memory.
report_file() {  # report_file STYLE ELEMENTS FILE
  local style=$1 n=$2 file=$3 size json read_bps count_s cli wc ratio rss_kb
  size=$(stat -c %s "$file")
  cat "$file" >/dev/null  # into the page cache

  # With the large memory pages that jwcount-cli asks for when it reads a large file.
  json=$(GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$BUILD/bench/jwcount_bench" --file="$file" \
    --benchmark_format=json 2>/dev/null)
  read_bps=$(bench_value "$json" ReadTempFile bytes_per_second)
  count_s=$(bench_value "$json" CountElementsRun per_element)

  read -r cli wc ratio < <(cli_against_wc "$file")
  rss_kb=$(/usr/bin/time -f %M "$CLI" count "$file" --format json 2>&1 >/dev/null | tail -1)

  awk -v style="$style" -v n="$n" -v size="$size" -v ratio="$ratio" -v rbps="$read_bps" -v cs="$count_s" \
    -v cli="$cli" -v wc="$wc" -v rss="$rss_kb" '
    BEGIN {
      printf "| %s | %d | %.1f | %.0f | %.1f | %.0f | %.1f | %.1fx | %.0f | %.1f | %.2fx | %.0f |\n",
        style, n, size / 1e6, rbps / 1e6, cs * 1e9, cli * 1e3, wc * 1e3, ratio, size / cli / 1e6,
        rss * 1024 / 1e6, rss * 1024 / size, rss * 1024 / n
    }'
}

printf '| style | elements | file MB | read MB/s | count ns/element | CLI json ms | wc -l ms | CLI / wc | CLI MB/s | peak RSS MB | RSS / file | RSS bytes/element |\n'
printf '|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n'
for style in $STYLES; do
  file=""
  if [ "$style" = tiny ]; then
    # Many tiny elements: 10 million plain lines "0 0 1 1" (80 MB).
    file=$SCRATCH/JWC_TEMP_tiny.TXT
    awk 'BEGIN { for (i = 0; i < 10000000; i++) print "0 0 1 1" }' >"$file"
    report_file tiny 10000000 "$file"
    rm -f "$file"
    continue
  fi
  for n in ${@:-100000 1000000}; do
    file=$SCRATCH/JWC_TEMP_${style}_$n.TXT
    "$BUILD/bench/jwcount-generate" "--$style" "$n" "$file"
    report_file "$style" "$n" "$file"
    rm -f "$file"
  done
done

# The quantity sheet's cost: the count with a 1,000-row rules file against the same count without.
rules_against_plain() {
  local file=$1 rules=$2 pairs=""
  for _ in $(seq "$RUNS"); do
    pairs+="$(one_time "$CLI" count "$file" --format json) $(one_time "$CLI" count "$file" --format json --rules "$rules")"$'\n'
  done
  awk '
    function median(a, n,   i, j, t) {
      for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
      return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
    }
    NF == 2 { n++; p[n] = $1; r[n] = $2; q[n] = $2 / $1 }
    END { printf "| %.0f | %.0f | %.2fx |\n", median(p, n) * 1e3, median(r, n) * 1e3, median(q, n) }' <<<"$pairs"
}
file=$SCRATCH/JWC_TEMP_rules.TXT
"$BUILD/bench/jwcount-generate" --real 1000000 "$file"
python3 bench/takeoff-rules.py 1000 "$SCRATCH/takeoff.csv"
printf '\n| real 1M: count --format json ms | with --rules (1,000 rows) ms | ratio |\n|---:|---:|---:|\n'
rules_against_plain "$file" "$SCRATCH/takeoff.csv"

# The workbook against the JSON report of the same count: time and peak memory of one run each (GNU time).
peak() {  # peak LABEL FORMAT FILE ARGS...: "seconds MiB"
  local format=$2 file=$3
  shift 3
  local out=$SCRATCH/out.$format
  rm -f "$out"
  if [ "$format" = xlsx ]; then
    /usr/bin/time -f '%e %M' -o "$SCRATCH/time" "$CLI" count "$file" --format xlsx --output "$out" "$@" >/dev/null 2>&1
  else
    /usr/bin/time -f '%e %M' -o "$SCRATCH/time" "$CLI" count "$file" --format json "$@" >"$out" 2>/dev/null
  fi
  awk -v size="$(stat -c %s "$out")" '{ printf "%.2f s, %.0f MiB (file %.1f MB)", $1, $2 / 1024, size / 1e6 }' "$SCRATCH/time"
}
workbook_row() {  # workbook_row LABEL FILE ARGS...
  local label=$1 file=$2
  shift 2
  printf '| %s | %s | %s |\n' "$label" "$(peak "$label" json "$file" "$@")" "$(peak "$label" xlsx "$file" "$@")"
}
printf '\n| input | count --format json | count --format xlsx |\n|---|---|---|\n'
workbook_row "real 1M, 1,000 rules" "$file" --rules "$SCRATCH/takeoff.csv"
rm -f "$file"
file=$SCRATCH/JWC_TEMP_texts.TXT
awk 'BEGIN { printf "hq\r\nlg0 2\r\nly0 2\r\n"; for (i = 0; i < 10000000; i++) printf "ch 0 0 1 0 \"T%d\r\n", i }' >"$file"
workbook_row "10M distinct texts" "$file"
rm -f "$file"
