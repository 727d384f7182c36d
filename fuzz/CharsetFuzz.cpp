// Arbitrary bytes through the charset detection, every decoding of the text file base, the
// character primitives and ReadLine.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/Limits.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/EncodingDetector.h"
#include "engine/text/KsTextParser.h"

namespace {

const char16_t* const kCharsetNames[] = {
    u"utf-8",  u"utf-16le", u"utf-16be", u"utf-32le",  u"utf-32be", u"windows-1251", u"cp866",
    u"koi8-r", u"gbk",      u"euc-jp",   u"shift_jis", u"big5",     u"euc-kr",       u"x-none",
};

void CheckLines(KsTextParser& parser, int maxLength) {
    while (!parser.Eof()) {
        int flags = 0;
        string16 line = parser.ReadLine(maxLength, flags);
        if (line.Length() > kMaxTextLineUnits + 1) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    string8 charset, language;
    DetectCodePage(bytes, size, charset, language, SampleMarkup::Skip);
    DetectCodePage(bytes, size, charset, language, SampleMarkup::Count);
    (void)ParseDeclaredEncoding(bytes, size, charset);

    KsRef<KsStream> stream =
        CreateMemoryStream(data, static_cast<ks_pos_t>(size), MemoryCopy::Wrap);
    const int maxLength = size ? 1 + data[0] % 100 : 80;
    {
        KsTextParser parser(stream, nullptr);
        (void)parser.CheckFormat();
        (void)parser.AutodetectEncoding(size % 2 ? EncodingDetection::Full
                                                 : EncodingDetection::UnicodeOnly);
        parser.Reset();
        CheckLines(parser, maxLength);
    }
    for (const char16_t* name : kCharsetNames) {
        KsTextParser parser(stream, nullptr);
        parser.SetCharset(name);
        parser.Reset();
        size_t units = 0;
        while (!parser.Eof()) {
            (void)parser.PeekCharAt(size % 7);
            if (parser.ReadChar() == '<') (void)parser.SkipToChar('>');
            if (++units > size) std::abort();
        }
        unit16 out[64];
        if (size) {
            const int got = parser.ReadTextBytes(data[0] % size, 32, out, 64, 0);
            if (got < 0 || got > 64) std::abort();
        }
        parser.Reset();
        CheckLines(parser, maxLength);
    }
    return 0;
}
