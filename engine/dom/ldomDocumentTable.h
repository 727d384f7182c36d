#pragma once

class tinyNodeCollection;

// The process-wide table of live documents. Every node handle carries its document's slot, so
// a handle alone finds its document. Slots are handed out in rotation, not lowest first.
class ldomDocumentTable {
public:
    static constexpr int kSlots = 256;

    // Takes a free slot for the document; -1 when all 256 are taken.
    static int registerDocument(tinyNodeCollection* document);
    // Clears every slot that points to the document.
    static void unregisterDocument(tinyNodeCollection* document);
    static tinyNodeCollection* documentAt(int slot) {
        return slot >= 0 && slot < kSlots ? slots_[slot] : nullptr;
    }
    static int liveCount();

private:
    static tinyNodeCollection* slots_[kSlots];
    static int cursor_;
};
