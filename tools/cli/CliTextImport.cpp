#include "tools/cli/CliTextImport.h"

#include <cstdio>
#include <utility>

#include "engine/dom/ldomTextImport.h"
#include "tools/cli/CliStreams.h"

CliTextChoice CliTextLayout(const CliArgs& args, TextLayout& layout) {
    int given = 0;
    for (auto [option, value] :
         {std::pair{"text", TextLayout::Detect}, std::pair{"pre", TextLayout::Preformatted},
          std::pair{"pml", TextLayout::Pml}}) {
        if (!args.has(option)) continue;
        layout = value;
        ++given;
    }
    if (given > 1) return CliTextChoice::Conflict;
    return given == 1 ? CliTextChoice::Text : CliTextChoice::Markup;
}

int CliImportText(const std::string& path, ldomDocument& document, TextLayout layout) {
    std::string error;
    KsRef<KsStream> stream = CliOpenStream(path, error);
    if (!stream) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    if (!ImportTextDocument(stream, document, layout)) {
        std::fprintf(stderr, "quillet-cli: %s is not a text file\n", path.c_str());
        return 1;
    }
    return 0;
}
