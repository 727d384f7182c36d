#!/usr/bin/env bash
# Tokenizer speed beside libxml2's HTML parser on the same bytes: the decoded markup of the large
# MOBI of the corpus. Run from the repository root after building (build-test/ by default).
set -euo pipefail
build=${1:-build-test}
corpus=${QUILLET_CORPUS:-../shared/corpus}
[ -d "$corpus" ] || corpus=../../shared/corpus
book=$corpus/perf/calibre-big-alice.mobi
markup=$(mktemp --suffix=.html)
trap 'rm -f "$markup"' EXIT
"$build"/tools/quillet-cli text "$book" > "$markup"
echo "markup: $(stat -c %s "$markup") bytes"
echo "== quillet (tokenizer only)"
QUILLET_CORPUS=$corpus "$build"/bench/quillet_bench --benchmark_filter=TokenizeBookMarkup \
    --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
echo "== libxml2: xmllint --html --noout (parse and tree), best of 3"
for i in 1 2 3; do /usr/bin/time -f "%e s, %M KB peak" xmllint --html --noout "$markup" 2>&1 | tail -1; done
echo "== libxml2: xmllint --html --noout --stream (reader, no tree), best of 3"
for i in 1 2 3; do /usr/bin/time -f "%e s, %M KB peak" xmllint --html --noout --stream "$markup" 2>&1 | tail -1; done
