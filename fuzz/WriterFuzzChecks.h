// What every document a writer builds must allow, checked on fuzzed input: a sound node store,
// no element deeper than the writer's cap, the text forms, range text, search (with a pattern
// and a path text taken from the input) and the table of contents. A fault aborts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/core/Limits.h"
#include "engine/core/StringConvert.h"
#include "engine/dom/KsContentsEntry.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomPathPosition.h"
#include "engine/dom/ldomTextSpan.h"
#include "engine/dom/ldomTreeDump.h"
#include "engine/dom/ldomXRange.h"

namespace writer_fuzz {

inline void CheckPositionsAndSearch(ldomDocument& document, const uint8_t* data, size_t size) {
    ldomNode* root = document.getRootNode();
    // Walk every node: bounded depth, and every path text reads back as some position.
    ldomPathPosition cursor(ldomPosition(root, -1));
    int visited = 0;
    while (cursor.nextNode()) {
        if (cursor.depth() > kMaxElementDepth + 1) std::abort();
        if (++visited % 97 != 1) continue;
        ldomPosition position(cursor.getNode(), cursor.getNode()->isText() ? 0 : -1);
        const string16 path = position.toString();
        if (path.Empty()) std::abort();
        (void)ldomPosition::fromString(&document, path);
    }
    // The input's first bytes as a path text from outside (a bookmark): any result is fine.
    const size_t pathLength = size < 64 ? size : 64;
    (void)ldomPosition::fromString(
        &document,
        Utf8ToString16(string8(reinterpret_cast<const char*>(data), static_cast<int>(pathLength))));

    ldomXRange all = ldomXRange::ofNode(root);
    (void)all.getRangeText('\n', 4096);
    // A short pattern from the input, searched both ways, empty ones included.
    const size_t patternLength = size > 1 ? data[1] % 4 : 0;
    string16 pattern;
    for (size_t i = 0; i < patternLength && 2 + i < size; ++i)
        pattern.Append(static_cast<unit16>(data[2 + i] % 3 == 0 ? ' ' : 'a' + data[2 + i] % 5));
    std::vector<ldomTextSpan> hits;
    for (SearchDirection direction : {SearchDirection::Forward, SearchDirection::Backward}) {
        (void)all.findText(pattern, SearchCase::Insensitive, direction, hits, 32, 0,
                           HeightLimitFrom::FirstHit);
        for (const ldomTextSpan& hit : hits)
            if (!hit.getNode() || hit.getEnd() - hit.getStart() != pattern.Length()) std::abort();
    }

    std::vector<KsContentsEntry*> entries;
    document.getToc()->flatten(entries);
    for (KsContentsEntry* entry : entries) {
        if (entry->getPosition().isNull()) std::abort();
        (void)ldomPosition::fromString(&document, entry->getPath());
    }
}

inline void CheckDocument(ldomDocument& document, const uint8_t* data, size_t size) {
    const std::string problem = document.checkInvariants();
    if (!problem.empty()) std::abort();
    (void)DumpTreeAndContents(document);
    CheckPositionsAndSearch(document, data, size);
}

}  // namespace writer_fuzz
