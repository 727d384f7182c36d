#include "engine/text/KsTextParser.h"

string16 readTextStream(KsRef<KsStream> stream) {
    if (!stream) return string16();
    KsTextParser parser(stream, nullptr);
    // A text too short for detection (a one-rule stylesheet) is read as UTF-8.
    (void)parser.AutodetectEncoding(EncodingDetection::Full);
    parser.Reset();
    string16 text;
    while (!parser.Eof()) {
        int flags = 0;
        string16 line = parser.ReadLine(4096, flags);
        if (line.Empty()) continue;
        if (!text.Empty()) text.Append(u'\n');
        text.Append(line);
    }
    return text;
}
