#pragma once

#include <vector>

#include "engine/core/Types.h"

// The text transformations the XML/HTML tokenizer applies to each piece of text it hands over.

enum class EntityHandling { Decode, Keep };

// Entity pre-processing, in place (the text never grows); returns the new length.
// Preformatted text (TXT_PREFORMATTED without TXT_SPLIT_INDENTED_LINES) keeps its spaces and turns
// CR, LF, CR LF and LF CR into one LF; other text turns CR, LF and tab into spaces and collapses
// runs of spaces. Named entities (terminated by ';' or a space, which is consumed) and numeric
// references (decimal or hexadecimal; a reference without ';' still counts) are decoded; a
// reference to a character beyond U+FFFF becomes a surrogate pair, one to 0, a surrogate or a
// value above U+10FFFF becomes U+FFFD. An '&' that starts no entity stays as it is. Named
// entities of 128-255 are mapped through `charsetTable` when one is given.
int PreProcessXmlText(unit16* text, int length, int flags, const unit16* charsetTable,
                      EntityHandling entities);

// Trimming after pre-processing outside preformatted mode: removes a leading space unless
// `keepLeading`, and a trailing space when the piece ends its text run and not `keepTrailing`.
// Returns the new length; the text is moved to start at index 0.
enum class PieceEnd { EndsRun, Continues };
int TrimXmlSpaces(unit16* text, int length, bool keepLeading, bool keepTrailing, PieceEnd end);

// Expands tabs to the next multiple of 8 columns (columns restart after CR and LF).
void ExpandXmlTabs(const unit16* text, int length, std::vector<unit16>& out);

// Moves a proposed cut of a text piece back so that it splits neither an entity reference nor a
// surrogate pair. Returns the cut (at least 1 when cut >= 1).
int SafeTextCut(const unit16* text, int cut);
