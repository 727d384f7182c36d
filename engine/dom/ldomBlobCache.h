#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/KsString.h"
#include "engine/streams/KsStream.h"

// The binary objects of one document (pictures that parsers deliver inside the book's text, such
// as RTF pictures), kept in memory in the order they were added and found again by name.
class ldomBlobCache {
public:
    // Stores a copy of the bytes under the name. False (nothing stored) for a negative size, a
    // null buffer with a size, or when the document's blobs would pass their limit.
    [[nodiscard]] bool addBlob(const string16& name, const uint8_t* data, int size);
    // A read-only stream over the bytes of the first blob with exactly that name, or null. The
    // stream keeps the bytes alive on its own.
    KsRef<KsStream> getBlob(const string16& name) const;

    int count() const { return static_cast<int>(blobs_.size()); }
    uint64_t totalBytes() const { return totalBytes_; }
    // True once a blob was added since the document was made (nothing is ever written out).
    bool changed() const { return changed_; }

private:
    struct Blob {
        int blockIndex = -1;  // block in a cache file; no cache file is ever written
        string16 name;
        int size = 0;
        KsRef<KsStream> data;  // an owned, read-only copy of the bytes
    };

    std::vector<Blob> blobs_;
    uint64_t totalBytes_ = 0;
    bool changed_ = false;
};
