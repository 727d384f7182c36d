#pragma once

#include <cstdint>
#include <vector>

#include "engine/dom/ldomRecords.h"

// An element while it is being built or changed: growable child and attribute lists on the heap.
// Persisting writes it into an element record and frees it.
struct ldomMutableElement {
    uint32_t parentRef = 0;  // 0 for the root and for detached elements
    uint16_t nameId = 0;
    uint16_t nsId = 0;
    std::vector<uint32_t> children;  // child nodeRefs in document order
    std::vector<ldomAttribute> attrs;
    uint32_t renderMethod = 0;

    void clear() {
        parentRef = 0;
        nameId = nsId = 0;
        // Keep small lists for the next element; give large ones back.
        if (children.capacity() > 64)
            std::vector<uint32_t>().swap(children);
        else
            children.clear();
        if (attrs.capacity() > 16)
            std::vector<ldomAttribute>().swap(attrs);
        else
            attrs.clear();
        renderMethod = 0;
    }
};
