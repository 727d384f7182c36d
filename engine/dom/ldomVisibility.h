#pragma once

class ldomDocument;
class ldomNode;

// Whether the document's elements carry render methods yet (the root gets "block" as soon as
// styles are set up). Before that every element reads as invisible, which means nothing.
bool RenderMethodsAssigned(const ldomDocument& document);

// An element whose text the reader never shows: render method invisible (once assigned) or
// display none. Text nodes are never hidden themselves.
bool IsHiddenElement(const ldomNode* node);

// The node or one of its ancestors is a hidden element.
bool IsInsideHiddenElement(const ldomNode* node);
