#pragma once

#include <string>

#include "engine/graphics/KsGlyphBitmap.h"

// Writes an 8-bit gray PNG of the bitmap; false and a message on failure.
bool WriteGrayPng(const std::string& path, const KsGlyphBitmap& bitmap, std::string& error);
