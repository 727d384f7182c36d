#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/core/KsString.h"
#include "engine/dom/ldomElementProps.h"

// One name of a name table; element types may carry default-style properties.
struct ldomNameEntry {
    uint16_t id = 0;
    string16 name;
    std::optional<ldomElementProps> props;
};

// Element names, attribute names or namespace prefixes, each with a 16-bit id. Lookup by name is
// exact (case-sensitive). Names added at run time take ids from a counter; when the ids run out,
// every further unknown name shares kUnknownId (logged once), so ids never wrap around.
class ldomNameTable {
public:
    static constexpr uint16_t kUnknownId = 0xFFFF;

    // `kind` names the table in log lines ("element", "attribute", "namespace");
    // `firstDynamicId` is where the run-time counter starts.
    ldomNameTable(const char* kind, uint16_t firstDynamicId);

    // Adds an entry with a fixed id; ignored for id 0, for kUnknownId and for a taken id.
    void add(uint16_t id, const string16& name, const std::optional<ldomElementProps>& props);
    // Id of the name, or 0 when it is not in the table (the empty name finds nothing).
    uint16_t find(const string16& name) const;
    // Finds the name or adds it with the next run-time id.
    uint16_t findOrAdd(const string16& name);
    // The entry for an id, or null.
    const ldomNameEntry* byId(uint16_t id) const {
        if (id == kUnknownId) return &unknown_;
        return id < byId_.size() ? byId_[id] : nullptr;
    }
    const string16& nameOf(uint16_t id) const;
    uint16_t nextId() const { return nextId_; }
    int count() const { return static_cast<int>(entries_.size()); }
    bool exhausted() const { return exhausted_; }

private:
    struct Hasher {
        size_t operator()(const string16& s) const;
    };
    ldomNameEntry* store(uint16_t id, const string16& name);

    const char* kind_;
    std::vector<std::unique_ptr<ldomNameEntry>> entries_;
    std::vector<const ldomNameEntry*> byId_;
    std::unordered_map<string16, uint16_t, Hasher> byName_;
    ldomNameEntry unknown_;
    uint16_t nextId_;
    bool exhausted_ = false;
};
