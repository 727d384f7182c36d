#pragma once

#include <cstddef>

#include "engine/core/KsString.h"
#include "engine/text/TextStatistics.h"

// Guessing the encoding of a text sample. Charset names are those the text file base understands
// (SetCharset); languages are short codes ("en", "ru", ...).

// Byte-order marks (EF BB BF "utf-8", 00 00 FE FF "utf-32be", FE FF "utf-16be", FF FE 00 00
// "utf-32le", FF FE "utf-16le"), then UTF-16 without a mark (zero bytes at only the even or only
// the odd positions: "utf-16be" or "utf-16le"), then valid UTF-8 ("utf-8"; pure ASCII counts).
// The language is "en" in every case. False when none of these applies.
bool DetectUnicodeEncoding(const char* bytes, size_t length, string8& charset, string8& language);

// True when the bytes up to 5 before the end form valid UTF-8 (see the implementation for the
// exact rules); the last bytes are left unchecked because a sample may cut a character.
bool IsValidUtf8(const char* bytes, size_t length);

// The full detection: DetectUnicodeEncoding first; otherwise the language profile whose letter
// statistics are closest to those of the sample gives the code page and language. With
// SampleMarkup::Skip, markup is left out of the statistics and an encoding declared in an XML or
// HTML header wins over the guess. Always gives an answer.
void DetectCodePage(const char* bytes, size_t length, string8& charset, string8& language,
                    SampleMarkup markup);

// The index of the profile the statistics of `bytes` come closest to (no Unicode test).
int FindClosestLangProfile(const char* bytes, size_t length, SampleMarkup markup);

// The encoding declared in an XML declaration (encoding="..." or '...', at most 20 characters)
// or, failing that, in an HTML meta tag (http-equiv="Content-Type" with charset=..., or the
// short <meta charset=...> form). Searches ignore ASCII case. False when there is none.
bool ParseDeclaredEncoding(const char* bytes, size_t length, string8& charset);
