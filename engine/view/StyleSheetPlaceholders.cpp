#include "engine/view/StyleSheetPlaceholders.h"

#include "engine/core/StringConvert.h"
#include "engine/core/TnPropAccessor.h"

namespace {

bool EndsPlaceholder(char c) {
    return c == ';' || c == '}' || c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

bool IsPlaceholderChar(char c) {
    return (c >= 'a' && c <= 'z') || c == '.' || c == '-';
}

void AppendDeclaration(string8& out, const string16& value) {
    if (value.Empty()) return;
    string8 text = String16ToUtf8(value);
    out.Append(text);
    if (!text.EndsWith(";")) {
        out.Append(';');
        text.Append(';');
    }
    if (!text.EndsWith(" ")) out.Append(' ');
}

}  // namespace

string8 ExpandStyleSheetPlaceholders(const string8& css, const TnPropAccessor& styles) {
    string8 out;
    out.Reserve(css.Length());
    const int32_t length = css.Length();
    int32_t i = 0;
    while (i < length) {
        const char c = css[i];
        if (c != '$') {
            out.Append(c);
            ++i;
            continue;
        }
        int32_t end = i + 1;
        while (end < length && !EndsPlaceholder(css[end]))
            ++end;
        const string8 name = css.Substr(i + 1, end - i - 1);
        bool valid = !name.Empty();
        for (int32_t k = 0; valid && k < name.Length(); ++k)
            valid = IsPlaceholderChar(name[k]);
        if (!valid) {  // not a placeholder: copied as it stands
            out.Append(css.Substr(i, end - i));
            i = end;
            continue;
        }
        if (name.EndsWith(".all")) {
            const string8 prefix = name.Substr(0, name.Length() - 3);  // keeps the '.'
            for (int k = 0; k < styles.count(); ++k) {
                const string8& key = styles.nameAt(k);
                if (!key.StartsWith(prefix.CStr()) || key.EndsWith(".day") ||
                    key.EndsWith(".night"))
                    continue;
                AppendDeclaration(out, styles.valueAt(k));
            }
        } else {
            string16 value;
            if (styles.readText(name.CStr(), value)) AppendDeclaration(out, value);
        }
        i = end;
    }
    return out;
}
