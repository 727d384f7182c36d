// Arbitrary bytes through the plain-text import in every layout (guessed, preformatted, PML), with
// a receiver that checks the events form a well-nested tree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/core/Limits.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsTextParser.h"
#include "engine/text/KsXMLParserCallback.h"

namespace {

// Aborts on a close that does not match the innermost open element, text or attributes where
// none can be, or elements left open.
class NestingCheck final : public KsXMLParserCallback {
public:
    void OnStop() override {}
    ldomNode* OnTagOpen(const unit16*, const unit16* name) override {
        if (open_.size() > 10000) std::abort();
        open_.emplace_back(name);
        inTag_ = true;
        return nullptr;
    }
    void OnTagBody() override {
        if (!inTag_) std::abort();
        inTag_ = false;
    }
    void OnTagClose(const unit16*, const unit16* name) override {
        if (open_.empty() || open_.back() != string16(name)) std::abort();
        open_.pop_back();
        inTag_ = false;
    }
    void OnAttribute(const unit16*, const unit16*, const unit16* value) override {
        if (!inTag_ || !value) std::abort();
    }
    void OnText(const unit16* text, int length, int) override {
        if (inTag_ || open_.empty() || length <= 0 || !text) std::abort();
        if (length > kMaxTextJoinedPieces * kMaxTextLineUnits) std::abort();
    }
    bool OnBinaryData(const string16&, const uint8_t*, int) override { return false; }
    bool Balanced() const { return open_.empty() && !inTag_; }

private:
    std::vector<string16> open_;
    bool inTag_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KsRef<KsStream> stream =
        CreateMemoryStream(data, static_cast<ks_pos_t>(size), MemoryCopy::Wrap);
    for (TextLayout layout : {TextLayout::Detect, TextLayout::Preformatted, TextLayout::Pml}) {
        NestingCheck events;
        KsTextParser parser(stream, &events, layout);
        (void)parser.CheckFormat();  // books hold text that is no text file too
        if (!parser.Parse() || !events.Balanced()) std::abort();
    }
    return 0;
}
