#pragma once

// What the document cache tells the reader while it reopens a cached document. The document view
// implements it; this program configures no cache, so nothing calls it.
class CacheLoadingCallback {
public:
    virtual ~CacheLoadingCallback() = default;
    // The format id the cached document was read as.
    virtual void onFormatDetected(int formatId) = 0;
};
