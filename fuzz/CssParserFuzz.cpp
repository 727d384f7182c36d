// Arbitrary bytes as a stylesheet (with imports that fan back to the same bytes) and as a
// "style" attribute: parsed, matched against a small tree, hashed and printed. Every compiled
// declaration must decode to exactly its stored ints.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/css/CssDeclaration.h"
#include "engine/css/CssImportLoader.h"
#include "engine/css/CssImportSource.h"
#include "engine/css/CssParseReport.h"
#include "engine/css/CssStyleSheet.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"

namespace {

// Every path reads as the fuzz input itself.
class EchoSource final : public CssImportSource {
public:
    explicit EchoSource(const string8& text) : text_(text) {}
    bool readStyleSheet(const string16&, string8& utf8) override {
        utf8 = text_;
        return true;
    }

private:
    string8 text_;
};

void CheckDeclaration(const CssDeclaration& declaration) {
    size_t used = 0;
    declaration.forEach(
        [&used](const CssDeclaration::Item& item) { used += 1 + size_t(item.count); });
    if (used + 1 != declaration.data().size()) std::abort();
    if (declaration.data().back() != int32_t(CssPropertyCode::End)) std::abort();
    (void)declaration.toText();
}

void BuildTree(ldomDocument& doc) {
    ldomNode* body = doc.getRootNode()->insertElement(-1, 0, el_body);
    ldomNode* div = body->insertElement(-1, 0, el_div);
    div->setAttributeValue(0, attr_class, string16("Note wide"));
    div->setAttributeValue(0, attr_id, string16("main"));
    ldomNode* p = div->insertElement(-1, 0, el_p);
    p->setAttributeValue(0, attr_title, string16("a b"));
    p->insertText(string8("text"));
    p->persist();
    div->insertText(string8("between"));
    ldomNode* span = div->insertElement(-1, 0, el_span);
    span->persist();
    div->persist();
    body->insertElement(-1, 0, el_p)->persist();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ldomDocument doc;
    loadBuiltinNameTables(doc);
    BuildTree(doc);
    string8 text(reinterpret_cast<const char*>(data), static_cast<int32_t>(size));

    CssStyleSheet& sheet = doc.getStyleSheet();
    CssParseReport report;
    EchoSource source(text);
    CssImportLoader loader(sheet, &source, &report);
    (void)loader.parseText(string16("dir/"), text);
    for (const CssSelector* selector : sheet.selectorsInSourceOrder()) {
        if (selector->declaration()) CheckDeclaration(*selector->declaration());
        (void)selector->toText(doc);
    }
    doc.getRootNode()->visitElements([&sheet](ldomNode* element) {
        sheet.apply(element, [](const CssDeclaration& declaration) { (void)declaration.hash(); });
    });
    (void)sheet.hash();
    (void)sheet.toText();

    if (KsRef<CssDeclaration> inline_ = CssDeclaration::parseStyleAttribute(text))
        CheckDeclaration(*inline_);
    if (KsRef<CssDeclaration> block = CssDeclaration::parse(text.CStr(), size_t(text.Length())))
        CheckDeclaration(*block);
    return 0;
}
