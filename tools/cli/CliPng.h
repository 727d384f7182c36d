#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/graphics/KsGlyphBitmap.h"

// Writes an 8-bit gray PNG of the bitmap; false and a message on failure.
bool WriteGrayPng(const std::string& path, const KsGlyphBitmap& bitmap, std::string& error);

// Writes an 8-bit RGBA PNG of `width` x `height` engine pixels (0xAARRGGBB, AA = transparency);
// false and a message on failure.
bool WriteRgbaPng(const std::string& path, int width, int height,
                  const std::vector<uint32_t>& pixels, std::string& error);
