#include "engine/dom/ldomDocumentTable.h"

#include "engine/core/Log.h"

tinyNodeCollection* ldomDocumentTable::slots_[kSlots] = {};
int ldomDocumentTable::cursor_ = 0;

int ldomDocumentTable::registerDocument(tinyNodeCollection* document) {
    if (cursor_ < 0 || cursor_ >= kSlots) cursor_ = 0;
    for (int i = 0; i < kSlots; ++i) {
        int slot = (cursor_ + i) % kSlots;
        if (!slots_[slot]) {
            slots_[slot] = document;
            LogDebug("ldomNode::registerDocument() - new index = %d", slot);
            cursor_ = slot + 1;
            return slot;
        }
    }
    LogError(
        "ldomNode::registerDocument() - all %d document slots are taken: the new document "
        "stays empty",
        kSlots);
    return -1;
}

void ldomDocumentTable::unregisterDocument(tinyNodeCollection* document) {
    for (int slot = 0; slot < kSlots; ++slot) {
        if (slots_[slot] == document) {
            LogDebug("ldomNode::unregisterDocument() - for index %d", slot);
            slots_[slot] = nullptr;
        }
    }
}

int ldomDocumentTable::liveCount() {
    int count = 0;
    for (tinyNodeCollection* document : slots_)
        if (document) ++count;
    return count;
}
