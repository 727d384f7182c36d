#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/KsRefCounter.h"
#include "engine/core/KsString.h"
#include "engine/css/CssEnums.h"
#include "engine/css/CssValue.h"

class CssLexer;
struct CssParseReport;

// A compiled declaration block: for each declaration in source order the property code and its
// operands, then CssPropertyCode::End. Operands: a keyword is one int; a length or colour two
// (type, value); margin and padding eight (top, right, bottom, left); font names a count n and
// n characters (bytes of UTF-8). Shared by reference between the selectors of one rule.
class CssDeclaration : public KsRefCounter {
public:
    explicit CssDeclaration(std::vector<int32_t> data) : data_(std::move(data)) {}

    const std::vector<int32_t>& data() const { return data_; }
    // d = d * 31 + v over the ints before End.
    uint32_t hash() const;

    // Parses a declaration block that starts with "{" (after spaces and comments) and ends with
    // "}". `ok` is false when the block is broken (no "{" or no closing "}"); the result is null
    // when it is broken or yields no values.
    static KsRef<CssDeclaration> parse(CssLexer& lexer, bool& ok, CssParseReport* report = nullptr);
    static KsRef<CssDeclaration> parse(const char* text, size_t length,
                                       CssParseReport* report = nullptr);
    // The form of a "style" attribute: the text without braces.
    static KsRef<CssDeclaration> parseStyleAttribute(const string8& text,
                                                     CssParseReport* report = nullptr);

    // One decoded declaration.
    struct Item {
        CssPropertyCode code;
        const int32_t* operands;
        int count;
        CssValue value(int i) const {
            return {static_cast<CssValueType>(operands[2 * i]), operands[2 * i + 1]};
        }
    };
    // Calls f(Item) for each declaration in order.
    template <typename F>
    void forEach(F&& f) const {
        size_t i = 0;
        while (i < data_.size() && data_[i] != int32_t(CssPropertyCode::End)) {
            auto code = static_cast<CssPropertyCode>(data_[i]);
            int count = operandCount(i);
            if (count < 0) return;
            f(Item{code, data_.data() + i + 1, count});
            i += 1 + size_t(count);
        }
    }

    // Readable text: "name: value; name: value".
    string8 toText() const;

private:
    // Operands of the declaration whose code is at `at`, or -1 when the data is malformed.
    int operandCount(size_t at) const;

    std::vector<int32_t> data_;
};
