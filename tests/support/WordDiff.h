#pragma once

#include <string>
#include <vector>

// Word lists for the corpus checks that compare our text with what another tool extracted.

// Splits UTF-8 text into words at white space (ASCII white space, U+00A0, U+2000-U+200B, U+3000
// and U+FEFF count as space).
std::vector<std::string> SplitWords(const std::string& utf8);

// Share of `expected` words that appear in `actual` in the same order (longest common
// subsequence / expected size), 1.0 for an empty `expected`. The diff gives up once the lists
// differ by more than `maxEdits` (by default enough to measure ratios down to about 96 %) and
// then returns an upper bound, which is below that.
double InOrderWordRatio(const std::vector<std::string>& expected,
                        const std::vector<std::string>& actual, long maxEdits = -1);
