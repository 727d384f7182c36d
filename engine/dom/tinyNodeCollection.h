#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/dom/ldomDataStorageManager.h"
#include "engine/dom/ldomMutableElement.h"
#include "engine/dom/ldomMutableText.h"
#include "engine/dom/ldomNode.h"
#include "engine/dom/ldomObjectPool.h"

// The node store at the base of every document: the slot in the document table, the two
// instance tables of 8-byte handles (text nodes and elements), the side tables of mutable
// objects and the four record storages. Node handles reach their document through the slot
// number they carry.
class tinyNodeCollection {
public:
    // Node numbers of one instance table: 1024 blocks of 1024 handles, number 0 unused.
    static constexpr uint32_t kBlockSize = 1024;
    static constexpr uint32_t kBlockCount = 1024;
    static constexpr uint32_t kMaxNodeNumber = kBlockSize * kBlockCount - 1;

    tinyNodeCollection(const tinyNodeCollection&) = delete;
    tinyNodeCollection& operator=(const tinyNodeCollection&) = delete;
    virtual ~tinyNodeCollection();

    // Slot in the document table, or -1 when the table was full: such a document has no nodes
    // and every attempt to add one fails.
    int docSlot() const { return docSlot_; }
    bool isRegistered() const { return docSlot_ >= 0; }
    // Element number 1; null for an unregistered document.
    ldomNode* getRootNode() const;
    // The node of a nodeRef (persistence bits ignored; bit 0 selects the table); null for 0,
    // for numbers never given out and for released numbers.
    ldomNode* nodeForRef(uint32_t nodeRef) const;

    // Highest element / text node number given out so far.
    uint32_t elementCounter() const { return elements_.counter; }
    uint32_t textCounter() const { return texts_.counter; }
    // Live nodes of both kinds.
    uint32_t itemCount() const { return itemCount_; }
    uint32_t mutableElementCount() const { return mutableElements_.liveCount(); }
    // True once the document stopped growing because a node table or a storage was full.
    bool isFull() const { return full_; }

    // compact() of all four storages with the unload-all value.
    void compactStorages();

    struct MemoryUsage {
        size_t instanceTables = 0;  // handle blocks and their pointer arrays
        size_t mutableObjects = 0;  // live mutable elements and texts (estimate)
        size_t textRecords = 0;     // resident bytes of the four storages
        size_t elementRecords = 0;
        size_t renderRects = 0;
        size_t styleEntries = 0;
        size_t total() const {
            return instanceTables + mutableObjects + textRecords + elementRecords + renderRects +
                   styleEntries;
        }
    };
    MemoryUsage memoryUsage() const;
    // Logs the "*** Document memory usage" line.
    void logMemoryUsage() const;

    const ldomDataStorageManager& textStorage() const { return textStorage_; }
    const ldomDataStorageManager& elementStorage() const { return elementStorage_; }
    const ldomDataStorageManager& rectStorage() const { return rectStorage_; }
    const ldomDataStorageManager& styleStorage() const { return styleStorage_; }

    // Per-element entries of the 's' and 'r' storages, by nodeRef. Reading an entry that was
    // never written gives zeros without allocating.
    ldomElementStyleRef getNodeStyleRef(uint32_t nodeRef);
    void setNodeStyleRef(uint32_t nodeRef, ldomElementStyleRef ref);
    ldomRenderRect getNodeRenderRect(uint32_t nodeRef);
    void setNodeRenderRect(uint32_t nodeRef, const ldomRenderRect& rect);

    // Checks the structural invariants of the node store and the tree (parent and child links
    // agree, no node is reachable twice, records match their handles, counters and free lists
    // add up). Empty when they hold, else a description of the first broken one. For tests and
    // fuzzing: it walks everything.
    std::string checkInvariants();

    // A storage beyond its budget asks for a cache file to swap chunks to; false when there is
    // none (this program has no cache folder).
    virtual bool createCacheFile();
    // Counts for the memory report, supplied by the style and layout layers.
    virtual int cachedStyleCount() const { return 0; }
    virtual int cachedFontCount() const { return 0; }
    virtual int renderedBlockCount() const { return 0; }

protected:
    tinyNodeCollection();
    // Called for every node of a subtree that destroy() is about to release.
    virtual void onNodeDestroyed(ldomNode& node) { (void)node; }

private:
    friend class ldomNode;

    struct InstanceTable {
        std::unique_ptr<ldomNode[]> blocks[kBlockCount];
        uint32_t counter = 0;   // highest number given out
        uint32_t freeHead = 0;  // first released number, 0 when none
        uint32_t blockCount = 0;
    };

    InstanceTable& tableFor(uint32_t kind) { return (kind & 1) ? elements_ : texts_; }
    ldomNode* entry(bool element, uint32_t number) const;
    // A fresh handle of a mutable kind (0 or 1), or null when the table is full.
    ldomNode* allocateNode(uint32_t kind);
    void releaseNode(ldomNode& node);
    void noteFull(const char* what);

    ldomNode* createElement(uint32_t parentRef, uint16_t nsId, uint16_t nameId);
    // A persistent text node holding at most ldomTextRecord::kMaxTextBytes bytes.
    ldomNode* createText(uint32_t parentRef, const char* utf8, uint32_t length);

    ldomMutableElement& mutableElement(const ldomNode& node) {
        return mutableElements_.at(node.data_);
    }
    ldomMutableText& mutableText(const ldomNode& node) { return mutableTexts_.at(node.data_); }
    ldomElementRecord* elementRecord(const ldomNode& node);
    ldomTextRecord* textRecord(const ldomNode& node);

    bool persistNode(ldomNode& node);
    void modifyNode(ldomNode& node);
    void setParentRef(ldomNode& node, uint32_t parentRef);
    void clearElementEntries(uint32_t number);

    int docSlot_ = -1;
    InstanceTable texts_;
    InstanceTable elements_;
    uint32_t itemCount_ = 0;
    bool full_ = false;
    ldomObjectPool<ldomMutableElement> mutableElements_;
    ldomObjectPool<ldomMutableText> mutableTexts_;
    ldomDataStorageManager textStorage_;
    ldomDataStorageManager elementStorage_;
    ldomDataStorageManager rectStorage_;
    ldomDataStorageManager styleStorage_;
};
