#!/usr/bin/env bash
# Tree building beside libxml2 on the same bytes: the decoded markup of the large MOBI of the
# corpus, parsed as HTML into a finished tree. Run from the repository root after building
# (build-test/ by default).
set -euo pipefail
build=${1:-build-test}
corpus=${QUILLET_CORPUS:-../shared/corpus}
[ -d "$corpus" ] || corpus=../../shared/corpus
book=$corpus/perf/calibre-big-alice.mobi
markup=$(mktemp --suffix=.html)
trap 'rm -f "$markup"' EXIT
# MOBI markup names no charset (the MOBI header does): tell libxml2 and the format check.
{ printf '<meta http-equiv="Content-Type" content="text/html; charset=utf-8">'
  "$build"/tools/quillet-cli text "$book"; } > "$markup"
size=$(stat -c %s "$markup")
echo "markup: $size bytes"
echo "== quillet: HTML bytes -> finished tree (in memory)"
QUILLET_CORPUS=$corpus "$build"/bench/quillet_bench --benchmark_filter=HtmlBytesToTree \
    --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
echo "== quillet-cli tree --html --stats (whole process: read, parse, tree), 3 runs"
for i in 1 2 3; do
    /usr/bin/time -f "%e s, %M KB peak" "$build"/tools/quillet-cli tree --html --stats "$markup" 2>&1 |
        tr '\n' ' '
    echo
done
echo "== libxml2: xmllint --html --noout (parse and tree), 3 runs"
for i in 1 2 3; do
    /usr/bin/time -f "%e s, %M KB peak" xmllint --html --noout "$markup" 2>&1 | tail -1
done
echo "== libxml2: xmllint --html --noout --timing"
xmllint --html --noout --timing "$markup" 2>&1 | grep -E "^(Parsing|Freeing) took"
