#pragma once

#include "engine/core/KsString.h"

class KsContentsEntry;
class ldomNode;
struct ldomElementProps;

// One element a document writer has open.
struct ldomWriterFrame {
    ldomWriterFrame* parent = nullptr;
    ldomNode* element = nullptr;
    // The table-of-contents entry of the element (the first body and FB2 sections).
    KsContentsEntry* tocEntry = nullptr;
    // The element's path text, made when first needed.
    string16 path;
    bool pathMade = false;
    const ldomElementProps* props = nullptr;
    bool allowText = false;
    // Whitespace-only text at the start of the element is not kept (blocks).
    bool dropLeadingSpace = true;
    bool bodyStarted = false;
    bool pushedStyleSheet = false;
    bool isSection = false;
    bool preformatted = false;
    // The "align" attribute as the HTML filter read it: it becomes a style, not an attribute,
    // but the filter's close rules still look at it.
    string16 align;
};
