// The cache-file entry points of a document. This program never sets up a cache folder, so each
// of them ends in a defined failure (or does nothing) and the caller keeps the parsed book in
// memory.

#include "engine/core/Log.h"
#include "engine/css/ldomDocumentStyles.h"
#include "engine/dom/ldomDocument.h"
#include "engine/graphics/KsFontManager.h"
#include "engine/streams/DeadlineTimer.h"

bool ldomDocument::openCacheFile() {
    LogError("Cannot open cached document: cache dir is not initialized");
    return false;
}

bool ldomDocument::createCacheFile() {
    LogError("Cannot swap: cache dir is not initialized");
    return false;
}

bool ldomDocument::openFromCache(KsLoadingCallback* progress) {
    (void)progress;  // a cache file would report its loading through it
    // There never is a cache file to reopen.
    if (!openCacheFile()) LogDebug("Cannot open document from cache. Need to read fully");
    // Whatever an earlier rendering left must not survive into the fresh parse.
    styles_->resetRendering();
    clearImageCache();
    embeddedFonts_.clear();
    if (KsFontManager* fonts = GetFontManager()) fonts->ReleaseDocumentFonts(docSlot());
    return false;
}

CacheWriteResult ldomDocument::swapToCache(DeadlineTimer& timer) {
    (void)timer;
    LogDebug("ldomDocument::swapToCache entered");
    if (swapFailed_) return CacheWriteResult::Failed;
    LogDebug("ldomDocument::swapToCache creating cache file");
    if (!createCacheFile()) {
        LogError("ldomDocument::swapToCache: failed: cannot create cache file");
        swapFailed_ = true;
        return CacheWriteResult::Failed;
    }
    return CacheWriteResult::Failed;
}

CacheWriteResult ldomDocument::updateCacheFile(DeadlineTimer& timer) {
    (void)timer;
    return CacheWriteResult::Done;
}

CacheWriteResult ldomDocument::saveChanges(DeadlineTimer& timer) {
    (void)timer;
    return CacheWriteResult::Done;
}
