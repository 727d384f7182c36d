#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/Log.h"

// The side table of a document's mutable nodes. A node handle's 32-bit data word cannot hold a
// pointer on a 64-bit machine, so a mutable node stores its index here instead. Released objects
// are cleared and kept for reuse (the number alive at once is about the tree depth while a book
// is built).
template <typename T>
class ldomObjectPool {
public:
    // Index of a cleared object.
    uint32_t add() {
        if (!free_.empty()) {
            uint32_t index = free_.back();
            free_.pop_back();
            return index;
        }
        objects_.push_back(std::make_unique<T>());
        return static_cast<uint32_t>(objects_.size() - 1);
    }
    T& at(uint32_t index) {
        if (index >= objects_.size()) FatalError(-1, "Unknown fatal error");
        return *objects_[index];
    }
    const T& at(uint32_t index) const {
        if (index >= objects_.size()) FatalError(-1, "Unknown fatal error");
        return *objects_[index];
    }
    void release(uint32_t index) {
        at(index).clear();
        free_.push_back(index);
    }
    uint32_t liveCount() const { return static_cast<uint32_t>(objects_.size() - free_.size()); }
    uint32_t capacity() const { return static_cast<uint32_t>(objects_.size()); }

private:
    std::vector<std::unique_ptr<T>> objects_;
    std::vector<uint32_t> free_;
};
