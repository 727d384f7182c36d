#!/usr/bin/env bash
# LoadDocument of the large MOBI of the corpus and of a 20 MB text file: wall time and peak memory
# of quillet-cli info (which loads the book through the reader's view), beside libmobi's decode
# (mobitool -7 -d, when libmobi-tools is installed) and libxml2's HTML parse of the decoded markup.
# Run from the repository root after building (build-test/ by default).
set -euo pipefail
build=${1:-build-test}
corpus=${QUILLET_CORPUS:-../shared/corpus}
[ -d "$corpus" ] || corpus=../../shared/corpus
book=$corpus/perf/calibre-big-alice.mobi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
measure() { /usr/bin/time -f "%e s, %M KB peak" "$@" 2>&1 >/dev/null | tail -1; }

"$build"/tools/quillet-cli text "$book" > "$work/markup.html"
python3 - "$work/text.txt" <<'PY'
import sys
paragraph = ("Alice was beginning to get very tired of sitting by her sister on the bank, and of\n"
             "having nothing to do.\n\n")
with open(sys.argv[1], "w") as f:
    f.write(paragraph * (20 * 1024 * 1024 // len(paragraph) + 1))
PY
echo "book: $(stat -c %s "$book") bytes, markup $(stat -c %s "$work/markup.html") bytes"
for i in 1 2 3; do echo "quillet LoadDocument (mobi):   $(measure "$build"/tools/quillet-cli info "$book")"; done
for i in 1 2 3; do echo "quillet LoadDocument (20 MB text): $(measure "$build"/tools/quillet-cli info "$work/text.txt")"; done
if command -v mobitool >/dev/null; then
    cp "$book" "$work/book.mobi"
    for i in 1 2 3; do echo "libmobi mobitool -7 -d:        $(measure mobitool -7 -d -o "$work" "$work/book.mobi")"; done
else
    echo "libmobi: mobitool not installed (apt-get install libmobi-tools)"
fi
for i in 1 2 3; do echo "libxml2 xmllint --html --noout: $(measure xmllint --html --noout "$work/markup.html")"; done
