#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/books/PdbTypes.h"

// Tells HTML, Palm Markup Language and plain text apart by the first decoded text record:
// PML scores one for each backslash followed by a PML tag letter, HTML scores for "<html"
// (100), "<head" and "<body" (50), "<h1" ... "<h4" (5) and "<p>", "<b>", "<i>", "<li>", "<ul>"
// (10). Empty text gives PDB_CONTENT_NONE, ten bytes or fewer plain text.
PdbContentKind DetectPdbContent(const uint8_t* data, size_t size);
