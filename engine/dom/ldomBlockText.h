#pragma once

#include <vector>

#include "engine/core/KsRefCounter.h"
#include "engine/core/KsString.h"
#include "engine/graphics/KsFont.h"

class ldomNode;

// What positions need to know of a laid-out paragraph (a final block): its source items and its
// lines of words. The block renderer fills it (see ldomBlockFormatter); carets, hits under the
// mouse and search limits are computed from it.

// A run of text of one node in one font, or an inline image.
struct ldomBlockTextItem {
    ldomNode* node = nullptr;  // the text node, or the image element
    // Where `text` starts in the node's text. The layout counts here the characters it dropped
    // at the start of the node (the leading spaces of a paragraph), so that node offsets and
    // item offsets convert exactly.
    int offsetInNode = 0;
    bool isImage = false;
    string16 text;
    KsRef<KsFont> font;
    int letterSpacing = 0;
};

// A word of a line: x from the line's x; offset and length in its item's text.
struct ldomBlockTextWord {
    int item = 0;
    int x = 0;
    int width = 0;
    int offset = 0;
    int length = 0;
};

// A line: x and y from the top-left of the block.
struct ldomBlockTextLine {
    int x = 0;
    int y = 0;
    int height = 0;
    std::vector<ldomBlockTextWord> words;
};

struct ldomBlockText {
    std::vector<ldomBlockTextItem> items;
    std::vector<ldomBlockTextLine> lines;
};

// The layout side that formats a final block for a width, as it is drawn.
class ldomBlockFormatter {
public:
    virtual ~ldomBlockFormatter() = default;
    virtual bool formatBlock(ldomNode* finalBlock, int width, ldomBlockText& text) = 0;
};
