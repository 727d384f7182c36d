#include "engine/dom/ldomNameTable.h"

#include "engine/core/Log.h"
#include "engine/core/StringCollection.h"
#include "engine/core/StringConvert.h"

size_t ldomNameTable::Hasher::operator()(const string16& s) const {
    return KsHashedString16Collection::FnvHash(s);
}

ldomNameTable::ldomNameTable(const char* kind, uint16_t firstDynamicId)
    : kind_(kind), nextId_(firstDynamicId) {
    // Shown for names that arrive after the ids ran out; never found by name.
    unknown_.id = kUnknownId;
    unknown_.name = string16("unknown-") + kind;
}

ldomNameEntry* ldomNameTable::store(uint16_t id, const string16& name) {
    if (id >= byId_.size()) byId_.resize(size_t(id) + 16, nullptr);
    auto entry = std::make_unique<ldomNameEntry>();
    entry->id = id;
    entry->name = name;
    ldomNameEntry* raw = entry.get();
    entries_.push_back(std::move(entry));
    byId_[id] = raw;
    byName_.emplace(name, id);
    return raw;
}

void ldomNameTable::add(uint16_t id, const string16& name,
                        const std::optional<ldomElementProps>& props) {
    if (id == 0 || id == kUnknownId || byId(id)) return;
    ldomNameEntry* entry = store(id, name);
    entry->props = props;
}

uint16_t ldomNameTable::find(const string16& name) const {
    if (name.Empty()) return 0;
    auto it = byName_.find(name);
    return it == byName_.end() ? 0 : it->second;
}

uint16_t ldomNameTable::findOrAdd(const string16& name) {
    if (uint16_t id = find(name)) return id;
    // An id taken by a fixed entry is stepped over.
    while (nextId_ < kUnknownId && byId(nextId_))
        ++nextId_;
    if (nextId_ >= kUnknownId) {
        if (!exhausted_)
            LogError("The %s name table is full (%d names): further new names share the id %d",
                     kind_, count(), int(kUnknownId));
        exhausted_ = true;
        return kUnknownId;
    }
    uint16_t id = nextId_++;
    store(id, name);
    return id;
}

const string16& ldomNameTable::nameOf(uint16_t id) const {
    static const string16 empty;
    const ldomNameEntry* entry = byId(id);
    return entry ? entry->name : empty;
}
