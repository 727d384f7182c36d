#pragma once

#include <memory>
#include <string>

#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomMarkupImport.h"

// A fresh document with the built-in element, attribute and namespace tables.
std::unique_ptr<ldomDocument> MakeTestDocument();

enum class PersistNodes { Yes, No };

// Appends the nodes of a small markup text under `parent`:
//   <name attr="value" other='v'>text<child/></name>
// Prefixes ("ns:name") name namespaces; entities are not decoded. Elements are persisted when
// closed unless asked otherwise. Returns the first node added, or null (with a test failure) on
// malformed markup.
ldomNode* AppendMarkup(ldomNode* parent, const std::string& markup,
                       PersistNodes persist = PersistNodes::Yes);

// The subtree as markup: elements with their attributes in order, text as it is.
std::string DumpNode(const ldomNode* node);
// The children of a node, dumped one after the other.
std::string DumpChildren(const ldomNode* node);

// Parses a markup text (the bytes of a file named "test.html" or "test.xml") into a new
// document; fails the test when the format check refuses it.
std::unique_ptr<ldomDocument> ParseMarkupText(const std::string& text, MarkupFormat format);
// The indented tree text of the node and its subtree (see DumpTree), or of the children of
// the document's first element of that name.
std::string TreeText(const ldomNode* node);
std::string ChildrenTreeText(ldomDocument& document, const char* elementName);
