// Arbitrary bytes as a PDB book imported into a document, as the loader does it: the decode, the
// HTML or plain-text parse, and then every image the elements of the tree name, decoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/books/PdbBookImport.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomPathPosition.h"
#include "engine/graphics/KsImageSource.h"
#include "engine/streams/KsMemoryStream.h"

namespace {

// Checks the decode protocol and that rows fit the promised width.
class RowCheck final : public KsImageDecoderCallback {
public:
    void OnStartDecode(KsImageSource*) override { ++starts; }
    bool OnLineDecoded(KsImageSource* source, int y, const uint32_t* row) override {
        if (!row || y < 0 || y >= source->GetHeight()) std::abort();
        sum += row[0] + row[source->GetWidth() - 1];
        return true;
    }
    void OnEndDecode(KsImageSource*, KsDecodeOutcome) override { ++ends; }
    int starts = 0, ends = 0;
    uint32_t sum = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KsRef<KsStream> stream =
        CreateMemoryStream(data, static_cast<ks_pos_t>(size), MemoryCopy::Wrap);
    auto document = std::make_unique<ldomDocument>();
    loadBuiltinNameTables(*document);
    PdbContentKind kind = PDB_CONTENT_NONE;
    if (!LoadPdbBook(stream, *document, nullptr, &kind)) return 0;
    if (document->checkInvariants() != "") std::abort();
    ldomPathPosition cursor(ldomPosition(document->getRootNode(), -1));
    int images = 0;
    while (cursor.nextNode() && images < 8) {
        ldomNode* node = cursor.getNode();
        if (!node->isElement() || document->getObjectImageName(node).Empty()) continue;
        KsImageSourceRef source = document->getNodeImageSource(node);
        ++images;
        // Large pictures cost time and find nothing new.
        if (!source || int64_t(source->GetWidth()) * source->GetHeight() > (1 << 22)) continue;
        RowCheck check;
        (void)source->Decode(&check);
        if (check.starts != check.ends || check.starts > 1) std::abort();
    }
    return 0;
}
