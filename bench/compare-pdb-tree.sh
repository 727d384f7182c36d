#!/usr/bin/env bash
# A MOBI book from its file to a finished tree, beside libmobi's decode (mobitool -7 -d) plus
# libxml2's HTML parse of the markup it wrote. Whole processes: seconds and peak memory of each.
# Run from the repository root after building (build/ by default). mobitool comes with the
# Debian package libmobi-tools (scripts/install-deps libmobi-tools).
set -euo pipefail
build=${1:-build}
corpus=${QUILLET_CORPUS:-../shared/corpus}
[ -d "$corpus" ] || corpus=../../shared/corpus
book=$corpus/perf/calibre-big-alice.mobi
for tool in mobitool xmllint; do
    command -v $tool >/dev/null || { echo "$tool is missing (scripts/install-deps libmobi-tools libxml2-utils)"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "book: $(stat -c %s "$book") bytes, text: $("$build"/tools/quillet-cli text "$book" | wc -c) bytes"

echo "== quillet: file -> finished tree (in memory, engine only)"
QUILLET_CORPUS=$corpus "$build"/bench/quillet_bench --benchmark_filter=MobiFileToTree \
    --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
echo "== quillet-cli tree --stats BOOK (whole process), 3 runs"
for i in 1 2 3; do
    /usr/bin/time -f "%e s (%U user, %S sys), %M KB peak" "$build"/tools/quillet-cli tree --stats "$book" 2>&1 |
        tr '\n' ' '
    echo
done
echo "== libmobi: mobitool -7 -d (decode and write the markup), 3 runs"
for i in 1 2 3; do
    /usr/bin/time -f "%e s (%U user, %S sys), %M KB peak" mobitool -7 -d -o "$work" "$book" 2>&1 >/dev/null | tail -1
done
markup=$(ls "$work"/*.rawml | head -1)
echo "== libxml2: xmllint --html --noout on that markup ($(stat -c %s "$markup") bytes), 3 runs"
for i in 1 2 3; do
    /usr/bin/time -f "%e s (%U user, %S sys), %M KB peak" xmllint --html --noout "$markup" 2>&1 | tail -1
done
