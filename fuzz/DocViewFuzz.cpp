// Arbitrary bytes as a book handed to the reader's view: format detection, every importer and
// parser the detection reaches, the document properties, and the message documents of failures.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/dom/ldomDocument.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/view/KsDocView.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KsRef<KsStream> stream =
        CreateMemoryStream(data, static_cast<ks_pos_t>(size), MemoryCopy::Wrap);
    KsRef<KsDocView> view = MakeRef<KsDocView>();
    const bool opened = view->openStream(stream);
    // A failed load leaves a message document; only an archive without a book leaves none.
    if (!opened && view->getDocument() && view->getDocProps()->readTextOr("doc.title", "").Empty())
        std::abort();
    if (opened && !view->getDocument()) std::abort();
    view->updateLayoutParams(0, 0);
    view->closeDocument();
    if (view->getDocument()) std::abort();
    return 0;
}
