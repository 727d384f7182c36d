// Arbitrary bytes through the format check and the parse of KsXMLParser, under every text-flag
// combination the writers use; the callback checks what every writer relies on.
#include <memory>

#include "engine/text/KsXMLParser.h"
#include "fuzz/TokenizerFuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return tokenizer_fuzz::Run(
        data, size,
        [](KsRef<KsStream> stream, KsXMLParserCallback* events, [[maybe_unused]] uint8_t selector) {
            return std::make_unique<KsXMLParser>(stream, events,
                                                 static_cast<XmlRootCheck>(selector % 3));
        });
}
