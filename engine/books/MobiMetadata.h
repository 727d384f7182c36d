#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/books/PdbHeader.h"
#include "engine/core/KsString.h"

class TnPropContainer;

// Decodes a text of record 0 (the full name, an EXTH value) up to its first zero byte by the
// MOBI header's text encoding: 65001 is UTF-8, 1252 (and anything the engine has no table
// for) windows-1252.
string16 DecodeMobiText(const uint8_t* bytes, size_t length, uint32_t encoding);

// No cover offset in the EXTH block.
constexpr uint32_t kNoMobiCover = UINT32_MAX;

// Reads the book's metadata from record 0 (`size` bytes) into `properties`: the EXTH block
// (when the EXTH flag is set) gives "doc.authors" (several authors joined by " & "),
// "doc.publisher", "doc.ibsn", "doc.subject", "doc.date", "doc.contributor", "doc.rights",
// "doc.language" and the cover offset; "doc.title" is the updated title (EXTH 503) when there
// is one, else the full name the MOBI header points to. Returns the cover offset (relative to
// the first image record) or kNoMobiCover.
uint32_t ReadMobiMetadata(const uint8_t* record0, size_t size, const PdbBookHeader& header,
                          TnPropContainer& properties);
