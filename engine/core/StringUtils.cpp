#include "engine/core/StringUtils.h"

#include <vector>

#include "engine/core/StringConvert.h"

namespace {

bool IsBlankOrBreak(unit16 u) {
    return u == ' ' || u == '\t' || u == '\r' || u == '\n';
}

string16 NormalizePiece(const unit16* s, int32_t count) {
    string16 out;
    out.Reserve(count);
    bool pendingSpace = false;
    for (int32_t i = 0; i < count; ++i) {
        if (IsBlankOrBreak(s[i])) {
            pendingSpace = !out.Empty();
            continue;
        }
        if (pendingSpace) out.Append(u' ');
        pendingSpace = false;
        out.Append(s[i]);
    }
    return out;
}

void AddPiece(KsString16Collection& list, const string16& text, int32_t start, int32_t count,
              SplitPieces pieces) {
    if (pieces == SplitPieces::AsIs) {
        list.Add(text.Substr(start, count));
        return;
    }
    string16 piece = NormalizePiece(text.CStr() + start, count);
    if (!piece.Empty()) list.Add(piece);
}

}  // namespace

KsString16Collection SplitByChar(const string16& text, unit16 separator, SplitPieces pieces) {
    KsString16Collection list;
    int32_t start = 0;
    for (int32_t i = 0; i <= text.Length(); ++i) {
        if (i == text.Length() || text[i] == separator) {
            AddPiece(list, text, start, i - start, pieces);
            start = i + 1;
        }
    }
    return list;
}

KsString16Collection SplitByString(const string16& text, const string16& separator,
                                   SplitPieces pieces) {
    KsString16Collection list;
    if (separator.Empty()) {
        AddPiece(list, text, 0, text.Length(), pieces);
        return list;
    }
    int32_t start = 0;
    for (;;) {
        int32_t hit = text.Find(separator, start);
        if (hit < 0) {
            AddPiece(list, text, start, text.Length() - start, pieces);
            break;
        }
        AddPiece(list, text, start, hit - start, pieces);
        start = hit + separator.Length();
    }
    return list;
}

string16 TruncateAtWord(const string16& text, int32_t limit) {
    if (limit < 0) limit = 0;
    if (text.Length() < limit) return text;
    // The last space at or before the limit, then back over the spaces just before it.
    int32_t cut = -1;
    for (int32_t i = limit < text.Length() ? limit : text.Length() - 1; i > 0; --i) {
        if (text[i] == ' ') {
            cut = i;
            break;
        }
    }
    if (cut > 0) {
        while (cut > 0 && text[cut - 1] == ' ')
            --cut;
    }
    if (cut <= 0) cut = limit;
    string16 result = text.Left(cut);
    result.AppendLatin1("...");
    return result;
}

string16 UrlDecode(const string16& text) {
    if (text.FindUnit(u'%') < 0) return text;
    string16 out;
    out.Reserve(text.Length());
    const int32_t n = text.Length();
    int32_t i = 0;
    std::vector<uint8_t> run;
    while (i < n) {
        // Gather a run of consecutive %XX escapes (value 0 is not an escape).
        run.clear();
        int32_t j = i;
        while (j + 2 < n && text[j] == '%' && HexDigitValue(text[j + 1]) >= 0 &&
               HexDigitValue(text[j + 2]) >= 0) {
            int value = HexDigitValue(text[j + 1]) * 16 + HexDigitValue(text[j + 2]);
            if (value == 0) break;
            run.push_back(static_cast<uint8_t>(value));
            j += 3;
        }
        if (run.empty()) {
            out.Append(text[i]);
            ++i;
            continue;
        }
        // Decode the run: valid UTF-8 sequences as characters, any other byte as its own unit.
        size_t k = 0;
        while (k < run.size()) {
            uint32_t cp = run[k];
            size_t used = 1;
            if (cp >= 0x80) {
                uint32_t decoded;
                size_t len = DecodeUtf8Char(run.data() + k, run.size() - k, true, decoded);
                if (decoded != 0xFFFD ||
                    (len == 3 && run[k] == 0xEF && run[k + 1] == 0xBF && run[k + 2] == 0xBD)) {
                    cp = decoded;
                    used = len;
                }
            }
            AppendCodePoint(out, cp);
            k += used;
        }
        i = j;
    }
    return out;
}
