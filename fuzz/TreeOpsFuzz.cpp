// Bytes as a program of node operations (insert, remove, move, persist, modify, destroy,
// attributes, reads) on one document; the store's invariants are checked after every step.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"

namespace {

class Program {
public:
    Program(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    uint32_t next() { return at_ < size_ ? data_[at_++] : 0; }
    uint32_t next16() { return next() | (next() << 8); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Nodes are remembered by key: a destroyed node simply no longer resolves.
ldomNode* Pick(ldomDocument& doc, const std::vector<uint32_t>& keys, uint32_t choice,
               bool elementsOnly) {
    if (keys.empty()) return nullptr;
    for (size_t tries = 0; tries < keys.size(); ++tries) {
        ldomNode* node = doc.nodeForRef(keys[(choice + tries) % keys.size()]);
        if (node && (!elementsOnly || node->isElement())) return node;
    }
    return nullptr;
}

void Check(ldomDocument& doc, int step) {
    std::string problem = doc.checkInvariants();
    if (!problem.empty()) {
        std::fprintf(stderr, "invariant broken after step %d: %s\n", step, problem.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ldomDocument doc;
    loadBuiltinNameTables(doc);
    std::vector<uint32_t> keys{doc.getRootNode()->getDataIndex()};
    Program program(data, size);
    for (int step = 0; !program.done() && step < 400; ++step) {
        uint32_t op = program.next() % 10;
        uint32_t choice = program.next();
        ldomNode* element = Pick(doc, keys, choice, true);
        ldomNode* any = Pick(doc, keys, choice, false);
        switch (op) {
            case 0:
                if (element) {
                    int position = int(program.next() % 8) - 1;
                    auto id = static_cast<uint16_t>(1 + program.next() % 100);
                    if (ldomNode* made = element->insertElement(position, 0, id))
                        keys.push_back(made->getDataIndex());
                }
                break;
            case 1:
                if (element) {
                    uint32_t length = program.next();
                    // Now and then a run longer than one text record holds.
                    if (length == 255) length = 70000 + program.next16();
                    std::string text(length, 'a');
                    for (size_t i = 0; i < text.size(); i += 7)
                        text[i] = char(0x80 | (i & 0x3F));  // stray UTF-8 bytes
                    if (ldomNode* made =
                            element->insertText(string8(text.c_str(), int32_t(length))))
                        keys.push_back(made->getDataIndex());
                }
                break;
            case 2:
                if (element && element->childCount())
                    (void)element->removeChildAt(
                        int(program.next() % uint32_t(element->childCount())));
                break;
            case 3:
                if (element) {
                    ldomNode* destination = Pick(doc, keys, program.next(), true);
                    int first = int(program.next() % 6);
                    int last = first + int(program.next() % 4);
                    (void)element->moveChildrenTo(destination, first, last);
                }
                break;
            case 4:
                if (any) (void)any->persist();
                break;
            case 5:
                if (any) (void)any->modify();
                break;
            case 6:
                if (any) any->destroy();
                break;
            case 7:
                if (element) {
                    auto attr = static_cast<uint16_t>(1 + program.next() % 40);
                    element->setAttributeValue(int(program.next() % 3) - 1, attr,
                                               string16::FormatInt(program.next()));
                }
                break;
            case 8:
                if (element) {
                    element->setRenderMethod(static_cast<RenderMethod>(program.next() % 16));
                    element->setStyleRef({uint16_t(program.next()), uint16_t(program.next())});
                    element->setRenderRect({int32_t(program.next()), 1, 2, 3});
                }
                break;
            default:
                if (any) {
                    (void)any->text(u'\n', int32_t(program.next()));
                    (void)any->lastTextDescendant();
                    (void)any->findChild(kAnyNamespace, uint16_t(program.next() % 100));
                    if (ldomNode* parent = any->parent())
                        if (parent->childIndexOf(any->getNodeRef()) < 0) std::abort();
                    int count = 0;
                    any->visitElements([&count](ldomNode*) { ++count; });
                }
                break;
        }
        Check(doc, step);
    }
    doc.compactStorages();
    Check(doc, -1);
    return 0;
}
