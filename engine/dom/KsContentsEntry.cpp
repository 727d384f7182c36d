#include "engine/dom/KsContentsEntry.h"

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"

KsContentsEntry::KsContentsEntry(KsContentsEntry* parent, const string16& name,
                                 const ldomPosition& position, const string16& path)
    : parent_(parent),
      document_(parent->document_),
      level_(parent->level_ + 1),
      index_(parent->getChildCount()),
      name_(name),
      path_(path),
      position_(position) {}

KsContentsEntry* KsContentsEntry::addChild(const string16& name, const ldomPosition& position,
                                           const string16& path) {
    children_.push_back(
        std::unique_ptr<KsContentsEntry>(new KsContentsEntry(this, name, position, path)));
    return children_.back().get();
}

const string16& KsContentsEntry::getPath() {
    if (path_.Empty() && !position_.isNull()) path_ = position_.toString();
    return path_;
}

ldomPosition KsContentsEntry::getPosition() {
    if (position_.isNull() && !path_.Empty()) {
        position_ = ldomPosition::fromString(document_, path_);
        if (position_.isNull())
            LogDebug("TOC node is not found for path %s", String16ToUtf8(path_).CStr());
        else
            LogDebug("TOC node is found for path %s", String16ToUtf8(path_).CStr());
    }
    return position_;
}

void KsContentsEntry::flatten(std::vector<KsContentsEntry*>& list) {
    list.clear();
    // Pre-order without recursion: a table of contents can be as deep as the document.
    std::vector<std::pair<KsContentsEntry*, size_t>> stack{{this, 0}};
    while (!stack.empty()) {
        auto& [entry, next] = stack.back();
        if (next >= entry->children_.size()) {
            stack.pop_back();
            continue;
        }
        KsContentsEntry* child = entry->children_[next++].get();
        list.push_back(child);
        stack.push_back({child, 0});
    }
}

void KsContentsEntry::updatePageNumbers(const std::function<bool(const ldomPosition&, int&)>& yOf,
                                        const std::function<int(int)>& pageOf, int fullHeight) {
    std::vector<KsContentsEntry*> entries;
    flatten(entries);
    entries.insert(entries.begin(), this);
    for (KsContentsEntry* entry : entries) {
        const ldomPosition position = entry->getPosition();
        int y = 0;
        if (position.isNull() || !yOf(position, y)) {
            entry->page_ = -1;
            entry->percent_ = -1;
            continue;
        }
        entry->page_ = pageOf(y);
        entry->percent_ = (y >= 0 && y < fullHeight && fullHeight >= 1)
                              ? static_cast<int>(int64_t(y) * 10000 / fullHeight)
                              : -1;
    }
}
