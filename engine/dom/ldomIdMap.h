#pragma once

#include <cstdint>
#include <unordered_map>

// Map from the value index of an "id" (or anchor "name") attribute to the element carrying it,
// stored as its nodeRef key (persistence bits cleared). Setting a key again replaces the node.
class ldomIdMap {
public:
    void set(uint32_t valueIndex, uint32_t nodeKey) { map_[valueIndex] = nodeKey; }
    // The node key, or 0.
    uint32_t get(uint32_t valueIndex) const {
        auto it = map_.find(valueIndex);
        return it == map_.end() ? 0 : it->second;
    }
    size_t size() const { return map_.size(); }

private:
    std::unordered_map<uint32_t, uint32_t> map_;
};
