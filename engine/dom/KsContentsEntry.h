#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "engine/core/KsString.h"
#include "engine/dom/ldomPosition.h"

class ldomDocument;

// An entry of a document's table of contents: a title and a place in the document, with child
// entries. The document holds the root (level 0, no title) and each entry owns its children.
class KsContentsEntry {
public:
    // The root entry of a document.
    explicit KsContentsEntry(ldomDocument* document) : document_(document) {}
    KsContentsEntry(const KsContentsEntry&) = delete;
    KsContentsEntry& operator=(const KsContentsEntry&) = delete;

    // Appends an entry below this one; the position may be null and the path empty.
    KsContentsEntry* addChild(const string16& name, const ldomPosition& position,
                              const string16& path);

    // The path text, made from the position (and kept) when it is empty.
    const string16& getPath();
    // The position, found from the path (and kept) when it is null; may stay null.
    ldomPosition getPosition();

    int getChildCount() const { return static_cast<int>(children_.size()); }
    KsContentsEntry* getChild(int index) const {
        return children_[static_cast<size_t>(index)].get();
    }
    KsContentsEntry* getParent() const { return parent_; }
    ldomDocument* getDocument() const { return document_; }
    int getLevel() const { return level_; }
    int getIndex() const { return index_; }
    const string16& getName() const { return name_; }
    int getPage() const { return page_; }
    void setPage(int page) { page_ = page; }
    int getPercent() const { return percent_; }
    void setPercent(int percent) { percent_ = percent; }

    // Every entry below this one in pre-order (an entry before its children).
    void flatten(std::vector<KsContentsEntry*>& list);
    // Drops the children (a new parse, a reload).
    void clear() { children_.clear(); }

    // Gives every entry its page and its place in hundredths of a percent of the document
    // (0 ... 9999), -1 for both when it has no position. `yOf` gives the top of a position in
    // document coordinates (false when it has none), `pageOf` the page index of a y (-1 outside
    // the pages); `fullHeight` is the document's height.
    void updatePageNumbers(const std::function<bool(const ldomPosition&, int&)>& yOf,
                           const std::function<int(int)>& pageOf, int fullHeight);

private:
    KsContentsEntry(KsContentsEntry* parent, const string16& name, const ldomPosition& position,
                    const string16& path);

    KsContentsEntry* parent_ = nullptr;
    ldomDocument* document_ = nullptr;
    int level_ = 0;
    int index_ = 0;
    int page_ = 0;
    int percent_ = 0;
    string16 name_;
    string16 path_;
    ldomPosition position_;
    std::vector<std::unique_ptr<KsContentsEntry>> children_;
};
