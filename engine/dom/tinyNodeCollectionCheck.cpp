// The invariant check of the node store, used by the tests and the tree fuzz target.
#include <cstdio>
#include <string>
#include <vector>

#include "engine/dom/tinyNodeCollection.h"

namespace {

std::string Describe(const char* what, uint32_t nodeRef) {
    char buffer[160];
    std::snprintf(buffer, sizeof(buffer), "%s (node 0x%x)", what, nodeRef);
    return buffer;
}

}  // namespace

std::string tinyNodeCollection::checkInvariants() {
    if (docSlot_ < 0) return itemCount_ == 0 ? "" : "unregistered document has nodes";
    ldomNode* root = getRootNode();
    if (!root || !root->isElement()) return "no root element";
    if (root->parentRef() != 0) return "root has a parent";

    // Every live handle: its kind agrees with its record or mutable object.
    uint32_t live = 0;
    uint32_t liveMutableElements = 0;
    uint32_t liveMutableTexts = 0;
    for (int element = 0; element < 2; ++element) {
        InstanceTable& table = element ? elements_ : texts_;
        uint32_t freeCount = 0;
        for (uint32_t number = table.freeHead; number; ++freeCount) {
            if (number > table.counter || freeCount > table.counter) return "broken free list";
            ldomNode* slot = entry(element != 0, number);
            if (!slot || slot->nodeRef() != 0) return "free list holds a live node";
            number = slot->data_;
        }
        uint32_t used = 0;
        for (uint32_t number = 1; number <= table.counter; ++number) {
            ldomNode* node = entry(element != 0, number);
            if (!node) return "missing handle block";
            uint32_t ref = node->nodeRef();
            if (ref == 0) continue;
            ++used;
            if ((node->handle_ & 0xFF) != uint32_t(docSlot_))
                return Describe("handle carries another slot", ref);
            if (NodeRefNumber(ref) != number || ((ref & 1) != 0) != (element != 0))
                return Describe("handle does not match its table entry", ref);
            switch (node->kind()) {
                case NT_MUTABLE_ELEMENT:
                    if (node->data_ >= mutableElements_.capacity())
                        return Describe("bad mutable element index", ref);
                    ++liveMutableElements;
                    break;
                case NT_MUTABLE_TEXT:
                    if (node->data_ >= mutableTexts_.capacity())
                        return Describe("bad mutable text index", ref);
                    ++liveMutableTexts;
                    break;
                case NT_PERSISTENT_ELEMENT: {
                    ldomElementRecord* record = elementRecord(*node);
                    if (!record || !SameNode(record->nodeRef, ref))
                        return Describe("element record does not match", ref);
                    break;
                }
                default: {
                    ldomTextRecord* record = textRecord(*node);
                    if (!record || !SameNode(record->nodeRef, ref))
                        return Describe("text record does not match", ref);
                    break;
                }
            }
        }
        if (used + freeCount != table.counter) return "free list and live nodes do not add up";
        live += used;
    }
    if (live != itemCount_) return "itemCount does not match the live nodes";
    if (liveMutableElements != mutableElements_.liveCount())
        return "mutable element count does not match";
    if (liveMutableTexts != mutableTexts_.liveCount()) return "mutable text count does not match";

    // The trees from the root and from every detached node: links agree both ways, no node is
    // reached twice and every live node is reached.
    std::vector<bool> seen[2] = {std::vector<bool>(texts_.counter + 1),
                                 std::vector<bool>(elements_.counter + 1)};
    std::vector<ldomNode*> pending;
    for (int element = 0; element < 2; ++element) {
        InstanceTable& table = element ? elements_ : texts_;
        for (uint32_t number = 1; number <= table.counter; ++number) {
            ldomNode* node = entry(element != 0, number);
            if (node->nodeRef() == 0 || node->parentRef() != 0) continue;
            seen[element][number] = true;
            pending.push_back(node);
        }
    }
    while (!pending.empty()) {
        ldomNode* node = pending.back();
        pending.pop_back();
        int count = node->childCount();
        for (int i = 0; i < count; ++i) {
            uint32_t childRef = node->childRefAt(i);
            ldomNode* child = nodeForRef(childRef);
            if (!child) return Describe("child list names a missing node", childRef);
            if (!SameNode(child->parentRef(), node->getNodeRef()))
                return Describe("child's parent link disagrees", childRef);
            std::vector<bool>& marks = seen[childRef & 1];
            uint32_t number = NodeRefNumber(childRef);
            if (marks[number]) return Describe("node reached twice", childRef);
            marks[number] = true;
            if (child->isElement()) pending.push_back(child);
        }
    }
    for (int element = 0; element < 2; ++element) {
        InstanceTable& table = element ? elements_ : texts_;
        for (uint32_t number = 1; number <= table.counter; ++number) {
            ldomNode* node = entry(element != 0, number);
            if (node->nodeRef() != 0 && !seen[element][number])
                return Describe("node is in no child list of its parent", node->nodeRef());
        }
    }
    return "";
}
