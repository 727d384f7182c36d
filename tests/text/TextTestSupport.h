#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsTextParser.h"

// A memory stream holding a copy of the bytes.
inline KsRef<KsStream> StreamOf(const std::string& bytes) {
    return CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Copy);
}

inline std::u16string ToU16(const string16& text) {
    return std::u16string(text.CStr(), static_cast<size_t>(text.Length()));
}

inline std::string Str(const string8& text) {
    return std::string(text.CStr(), static_cast<size_t>(text.Length()));
}

// UTF-16 bytes of a text, with an optional byte-order mark.
enum class ByteOrder { Little, Big };
inline std::string Utf16Bytes(const std::u16string& text, ByteOrder order, bool mark = false) {
    std::string out;
    auto put = [&](char16_t c) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        out += order == ByteOrder::Little ? low : high;
        out += order == ByteOrder::Little ? high : low;
    };
    if (mark) put(0xFEFF);
    for (char16_t c : text)
        put(c);
    return out;
}

// Every character a parser decodes from its current position on.
inline std::u16string ReadAllChars(KsTextFileBase& parser) {
    std::u16string out;
    while (!parser.Eof())
        out.push_back(parser.ReadChar());
    return out;
}

// The bytes decoded with the named charset (SetCharset on a fresh parser).
inline std::u16string DecodeAs(const char16_t* charset, const std::string& bytes) {
    KsTextParser parser(StreamOf(bytes), nullptr);
    if (charset) parser.SetCharset(charset);
    parser.Reset();
    return ReadAllChars(parser);
}

// Encodes text with a 128-entry table (the reverse of decoding); characters it lacks become '?'.
inline std::string EncodeWithTable(const unit16* table, const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 128; ++i)
            if (table[i] == c) byte = static_cast<char>(0x80 + i);
        out += byte;
    }
    return out;
}

// Collects the log lines written while it lives.
class LogCapture final : public KsLogSink {
public:
    LogCapture() : KsLogSink(KS_LOG_TRACE), previous_(SetLogSink(this)) {}
    ~LogCapture() override { SetLogSink(previous_); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    void Write(const char* levelName, const char* format, va_list args) override {
        char line[1024];
        std::vsnprintf(line, sizeof(line), format, args);
        lines_.push_back(std::string(levelName) + " " + line);
    }
    bool Contains(const std::string& text) const {
        for (const std::string& line : lines_)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    KsLogSink* previous_;
    std::vector<std::string> lines_;
};
