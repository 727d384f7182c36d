#include "engine/text/KsEventDumpCallback.h"

#include <cstdio>

#include "engine/core/StringConvert.h"

namespace {

int UnitLength(const unit16* text) {
    int n = 0;
    while (text && text[n])
        ++n;
    return n;
}

std::string Utf8(const unit16* text, int length) {
    string8 bytes = String16ToUtf8(text, length);
    return std::string(bytes.CStr(), static_cast<size_t>(bytes.Length()));
}

}  // namespace

std::string KsEventDumpCallback::Escape(const unit16* text, int length) {
    std::string out;
    int plainStart = 0;
    auto flush = [&](int upTo) {
        if (upTo > plainStart) out += Utf8(text + plainStart, upTo - plainStart);
    };
    for (int i = 0; i < length; ++i) {
        const unit16 c = text[i];
        const char* escape = nullptr;
        char hex[8];
        switch (c) {
            case '\n':
                escape = "\\n";
                break;
            case '\r':
                escape = "\\r";
                break;
            case '\t':
                escape = "\\t";
                break;
            case '\\':
                escape = "\\\\";
                break;
            case '"':
                escape = "\\\"";
                break;
            default: {
                bool lone =
                    (IsHighSurrogate(c) && !(i + 1 < length && IsLowSurrogate(text[i + 1]))) ||
                    (IsLowSurrogate(c) && !(i > 0 && IsHighSurrogate(text[i - 1])));
                if (c < 0x20 || c == 0xA0 || c == 0xFEFF || lone) {
                    std::snprintf(hex, sizeof(hex), "\\u%04x", c);
                    escape = hex;
                }
            }
        }
        if (escape) {
            flush(i);
            out += escape;
            plainStart = i + 1;
        }
    }
    flush(length);
    return out;
}

std::string KsEventDumpCallback::Name(const unit16* nsPrefix, const unit16* name) {
    std::string out;
    if (nsPrefix && *nsPrefix) out = Escape(nsPrefix, UnitLength(nsPrefix)) + ":";
    return out + Escape(name, UnitLength(name));
}

void KsEventDumpCallback::Line(const std::string& line) {
    if (lastWasText_) {
        lastWasText_ = false;
        std::string head = lastTextFlags_ ? "text[0x" : "text";
        if (lastTextFlags_) {
            char hex[16];
            std::snprintf(hex, sizeof(hex), "%x]", lastTextFlags_);
            head += hex;
        }
        out_ += head + " \"" + pendingText_ + "\"\n";
        pendingText_.clear();
    }
    if (!line.empty()) out_ += line + "\n";
}

void KsEventDumpCallback::OnCharset(const unit16* name, const unit16*) {
    Line("charset " + Escape(name, UnitLength(name)));
}

void KsEventDumpCallback::OnStart(KsFileFormatParser* parser) {
    KsXMLParserCallback::OnStart(parser);
    Line("start");
}

void KsEventDumpCallback::OnStop() {
    Line("stop");
}

ldomNode* KsEventDumpCallback::OnTagOpen(const unit16* nsPrefix, const unit16* tagName) {
    ++opens_;
    Line("open " + Name(nsPrefix, tagName));
    return nullptr;
}

void KsEventDumpCallback::OnTagBody() {
    Line("body");
}

void KsEventDumpCallback::OnTagClose(const unit16* nsPrefix, const unit16* tagName) {
    ++closes_;
    Line("close " + Name(nsPrefix, tagName));
}

void KsEventDumpCallback::OnAttribute(const unit16* nsPrefix, const unit16* name,
                                      const unit16* value) {
    Line("attr " + Name(nsPrefix, name) + "=\"" + Escape(value, UnitLength(value)) + "\"");
}

void KsEventDumpCallback::OnText(const unit16* text, int length, int flags) {
    if (!(mergeText_ && lastWasText_ && flags == lastTextFlags_)) Line("");
    pendingText_ += Escape(text, length);
    lastWasText_ = true;
    lastTextFlags_ = flags;
}

bool KsEventDumpCallback::OnBinaryData(const string16& name, const uint8_t*, int size) {
    Line("binary " + Escape(name.CStr(), name.Length()) + " " + std::to_string(size));
    return true;
}

void KsEventDumpCallback::OnMetaProperty(const char* name, const string8& value) {
    Line(std::string("meta ") + name + "=\"" + std::string(value.CStr()) + "\"");
}
