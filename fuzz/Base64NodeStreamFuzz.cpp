// Arbitrary bytes as the text of an element (split into several text nodes) read as base64:
// whole reads in uneven blocks and reads after seeks must give what a plain decode of the
// element's text gives.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/KsBase64NodeStream.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomDocumentWriter.h"

namespace {

int SymbolValue(unit16 c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Straightforward decode: symbols in fours, "=" ends the data, everything else is skipped.
std::vector<uint8_t> PlainDecode(const string16& text) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int pending = 0;
    for (int i = 0; i < text.Length(); ++i) {
        const unit16 c = text[i];
        if (c == '=') {
            if (pending == 2) out.push_back(uint8_t(bits >> 4));
            if (pending == 3) {
                out.push_back(uint8_t(bits >> 10));
                out.push_back(uint8_t(bits >> 2));
            }
            break;
        }
        const int value = c < 128 ? SymbolValue(c) : -1;
        if (value < 0) continue;
        bits = (bits << 6) | uint32_t(value);
        if (++pending == 4) {
            out.push_back(uint8_t(bits >> 16));
            out.push_back(uint8_t(bits >> 8));
            out.push_back(uint8_t(bits));
            bits = 0;
            pending = 0;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    auto document = std::make_unique<ldomDocument>();
    loadBuiltinNameTables(*document);
    const size_t block = 1 + data[0] % 200;
    const size_t seek = data[1];
    data += 2;
    size -= 2;
    uint32_t binaryRef = 0;
    {
        // A zero byte closes one inner element and opens the next, so the text comes in
        // several text nodes at several depths.
        ldomDocumentWriter writer(document.get());
        writer.OnStart(nullptr);
        ldomNode* opened = writer.OnTagOpen(nullptr, u"binary");
        if (!opened) return 0;
        binaryRef = opened->getNodeRef();
        writer.OnTagBody();
        string16 run;
        bool inner = false;
        auto flush = [&] {
            if (!run.Empty()) writer.OnText(run.CStr(), run.Length(), 0);
            run = string16();
        };
        for (size_t i = 0; i < size; ++i) {
            if (data[i] == 0) {
                flush();
                if (inner) writer.OnTagClose(nullptr, u"p");
                writer.OnTagOpen(nullptr, u"p");
                writer.OnTagBody();
                inner = true;
                continue;
            }
            run.Append(static_cast<unit16>(data[i] < 0xF0 ? data[i] : 0x400 + data[i]));
        }
        flush();
        if (inner) writer.OnTagClose(nullptr, u"p");
        writer.OnTagClose(nullptr, u"binary");
        writer.OnStop();
    }
    const ldomNode* binary = document->nodeForRef(binaryRef);
    if (!binary) return 0;
    // The writer may drop or change white space; decode what the tree holds.
    string16 text;
    for (int i = 0; i < binary->childCount(); ++i) {
        const ldomNode* child = binary->childAt(i);
        if (child->isText()) text += child->text();
        for (int j = 0; child->isElement() && j < child->childCount(); ++j)
            if (child->childAt(j)->isText()) text += child->childAt(j)->text();
    }
    const std::vector<uint8_t> expected = PlainDecode(text);

    KsRef<KsStream> stream(new KsBase64NodeStream(binary));
    if (stream->GetSize() != expected.size()) std::abort();
    std::vector<uint8_t> got(expected.size() + block);
    size_t total = 0;
    for (;;) {
        ks_pos_t read = 0;
        if (stream->Read(got.data() + total, block, &read) != KS_OK) std::abort();
        if (read > block) std::abort();
        total += read;
        if (read == 0) break;
    }
    if (total != expected.size() || std::memcmp(got.data(), expected.data(), total) != 0)
        std::abort();
    if (!stream->Eof()) std::abort();
    const ks_pos_t target = expected.empty() ? 0 : seek % (expected.size() + 1);
    ks_pos_t position = 0;
    if (stream->Seek(int64_t(target), KS_SEEK_SET, &position) != KS_OK || position != target)
        std::abort();
    ks_pos_t read = 0;
    uint8_t piece[64];
    if (stream->Read(piece, sizeof piece, &read) != KS_OK) std::abort();
    if (read != std::min<size_t>(sizeof piece, expected.size() - target) ||
        std::memcmp(piece, expected.data() + target, read) != 0)
        std::abort();
    if (stream->Seek(int64_t(expected.size()) + 1, KS_SEEK_SET, nullptr) != KS_FAIL) std::abort();
    return 0;
}
