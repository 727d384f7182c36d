#pragma once

#include "engine/core/KsString.h"

class ldomDocument;
class ldomNode;

// Text forms of a document for structure tests and the command line.

// The tree below the root as indented XML (UTF-8): two spaces per level, one element or text
// node per line; an element holding nothing but one text node takes one line, a text node on a
// line of its own is quoted. Text and attribute values escape & < > (" in values and quoted
// text), control characters and no-break spaces as character references.
string8 DumpTree(const ldomNode* top);
string8 DumpDocumentTree(ldomDocument& document);

// The table of contents, one entry per line indented by level: title, " -> " and the position's
// path text.
string8 DumpTableOfContents(ldomDocument& document);

// The golden-text form of a parsed book: the tree, a line "== table of contents" (with ": none"
// when it is empty), then the entries.
string8 DumpTreeAndContents(ldomDocument& document);
