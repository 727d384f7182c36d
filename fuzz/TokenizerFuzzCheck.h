#pragma once

// The shared body of the tokenizer fuzz targets: arbitrary bytes through a parser's format check
// and parse, under every text-flag combination the writers use (chosen by the first byte), into
// a callback that checks what every writer relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/Limits.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsXMLParserCallback.h"

namespace tokenizer_fuzz {

class CheckingCallback : public KsXMLParserCallback {
public:
    explicit CheckingCallback(int flags) : flags_(flags) {}
    int getFlags() override { return flags_; }
    void OnStop() override {}
    ldomNode* OnTagOpen(const unit16*, const unit16* name) override {
        if (!name || !name[0]) std::abort();
        return nullptr;
    }
    void OnTagBody() override {}
    void OnTagClose(const unit16*, const unit16* name) override {
        if (!name || !name[0]) std::abort();
    }
    void OnAttribute(const unit16*, const unit16* name, const unit16* value) override {
        if (!name || !name[0] || !value) std::abort();
    }
    void OnText(const unit16* text, int length, int) override {
        // Pieces stay bounded (tab expansion may widen a preformatted piece up to 8 times).
        if (!text || length < 0 || length > 8 * (kXmlTextPieceUnits + 64)) std::abort();
        if (text[length] != 0) std::abort();
    }
    bool OnBinaryData(const string16&, const uint8_t*, int) override { return true; }

private:
    int flags_;
};

inline constexpr int kFlagSets[] = {
    0,
    TXT_TRIM,
    TXT_PREFORMATTED,
    TXT_PREFORMATTED | TXT_TRIM | TXT_SPLIT_INDENTED_LINES,
    TXT_TRIM | TXT_TRIM_KEEP_START_SPACE | TXT_TRIM_KEEP_END_SPACE | TXT_MAP_8BIT_ENTITIES,
};

// `makeParser(stream, callback, selector)` builds the parser under test.
template <typename MakeParser>
int Run(const uint8_t* data, size_t size, MakeParser makeParser) {
    if (size == 0) return 0;
    const uint8_t selector = data[0];
    KsRef<KsStream> stream =
        CreateMemoryStream(data + 1, static_cast<ks_pos_t>(size - 1), MemoryCopy::Wrap);
    CheckingCallback events(kFlagSets[selector % (sizeof(kFlagSets) / sizeof(kFlagSets[0]))]);
    auto parser = makeParser(stream, &events, selector);
    (void)parser->CheckFormat();
    parser->Parse();
    return 0;
}

}  // namespace tokenizer_fuzz
