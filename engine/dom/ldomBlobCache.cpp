#include "engine/dom/ldomBlobCache.h"

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/streams/KsStreamFragment.h"

bool ldomBlobCache::addBlob(const string16& name, const uint8_t* data, int size) {
    const string8 name8 = String16ToUtf8(name);
    if (size < 0 || (size > 0 && !data)) {
        LogError("ldomBlobCache::addBlob( %s ): no data of size %d", name8.CStr(), size);
        return false;
    }
    // The first bytes tell what the object is; a shorter blob shows zeros in their place.
    uint8_t head[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && i < size; ++i)
        head[i] = data[i];
    LogDebug("ldomBlobCache::addBlob( %s, size=%d, [%02x,%02x,%02x,%02x] )", name8.CStr(), size,
             head[0], head[1], head[2], head[3]);
    if (totalBytes_ + static_cast<uint64_t>(size) > kMaxDocumentBlobBytes ||
        blobs_.size() >= kMaxDocumentBlobs) {
        LogError("ldomBlobCache::addBlob( %s ): the document's binary objects are over their limit",
                 name8.CStr());
        return false;
    }
    Blob blob;
    blob.name = name;
    blob.size = size;
    // An empty memory stream cannot be made from no bytes; one zero byte stands in and the
    // fragment over it shows none of it.
    static const uint8_t kNoBytes[1] = {0};
    blob.data = CreateMemoryStream(size ? data : kNoBytes, size ? static_cast<ks_pos_t>(size) : 1,
                                   MemoryCopy::Copy, KS_MODE_READ);
    if (!blob.data) return false;
    totalBytes_ += static_cast<uint64_t>(size);
    blobs_.push_back(std::move(blob));
    changed_ = true;
    return true;
}

KsRef<KsStream> ldomBlobCache::getBlob(const string16& name) const {
    for (const Blob& blob : blobs_) {
        if (blob.name == name)
            return MakeRef<KsStreamFragment>(blob.data, 0, static_cast<ks_pos_t>(blob.size));
    }
    return nullptr;
}
