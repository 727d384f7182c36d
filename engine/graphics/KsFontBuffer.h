#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/KsRefCounter.h"

// The whole of an in-memory font file, shared by every definition and face made from it; FreeType
// reads the faces straight from these bytes.
class KsFontBuffer : public KsRefCounter {
public:
    explicit KsFontBuffer(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    const uint8_t* Data() const { return bytes_.data(); }
    size_t Size() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
};
