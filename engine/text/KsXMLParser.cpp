#include "engine/text/KsXMLParser.h"

#include <algorithm>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/text/KsXMLParserCallback.h"
#include "engine/text/XmlSample.h"

namespace {

constexpr int kSampleBytes = 8192;
constexpr int kSampleChars = 8191;
constexpr int kMinSampleChars = 31;

bool IsAsciiLetter(unit16 c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsNameChar(unit16 c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
}

bool IsBlankOrBreak(unit16 c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Old pages hide their styles and scripts from ancient browsers inside "<!--" ... "-->" and XHTML
// wraps them in "<![CDATA[" ... "]]>"; neither marker belongs to the style or script itself.
void BlankOutHidingMarkers(unit16* text, int length) {
    static const char* const kMarkers[] = {"<![CDATA[", "]]>", "<!--", "-->"};
    for (int i = 0; i < length; ++i) {
        if (text[i] != '<' && text[i] != ']' && text[i] != '-') continue;
        for (const char* marker : kMarkers) {
            int k = 0;
            while (marker[k] && i + k < length && text[i + k] == static_cast<unit16>(marker[k]))
                ++k;
            if (marker[k] == 0) {
                for (int j = 0; j < k; ++j)
                    text[i + j] = ' ';
                break;
            }
        }
    }
}

}  // namespace

KsXMLParser::KsXMLParser(KsRef<KsStream> stream, KsXMLParserCallback* callback,
                         XmlRootCheck rootCheck)
    : KsTextFileBase(std::move(stream)), rootCheck_(rootCheck) {
    callback_ = callback;
    SetFirstPagesCountdown(2000);
    pending_.reserve(kXmlTextPieceUnits + 64);
}

void KsXMLParser::Reset() {
    KsTextFileBase::Reset();
    state_ = State::BeforeFirstTag;
}

void KsXMLParser::SetCharset(const unit16* name) {
    KsTextFileBase::SetCharset(name);
    if (callback_) callback_->OnCharset(name, GetCharsetTable());
}

int KsXMLParser::ReadSample(std::vector<unit16>& sample, int maxChars) {
    (void)FillBuffer(kSampleBytes);
    sample.resize(static_cast<size_t>(maxChars));
    int count = ReadTextBytes(0, static_cast<int>(bufferedBytes_), sample.data(), maxChars, 0);
    sample.resize(static_cast<size_t>(count));
    return count;
}

bool KsXMLParser::CheckFormat() {
    Reset();
    (void)AutodetectEncoding(EncodingDetection::Full);
    Reset();
    std::vector<unit16> sample;
    bool accepted = false;
    if (ReadSample(sample, kSampleChars) >= kMinSampleChars) {
        XmlSample text(sample);
        const bool rootOk = rootCheck_ != XmlRootCheck::Fb2Only || text.Contains("<FictionBook");
        const bool xml =
            (text.Contains("<?xml") || text.Find(" xmlns=") > 0) && text.Find("version=") >= 6;
        const bool xhtml = rootCheck_ == XmlRootCheck::XmlOrXhtml &&
                           text.Contains("<html xmlns=\"http://www.w3.org/1999/xhtml\"");
        accepted = rootOk && (xml || xhtml);
        if (accepted) {
            // The declared encoding decides from here on (single or double quotes).
            string16 encoding = text.DeclaredXmlEncoding();
            if (!encoding.Empty()) SetCharset(encoding.CStr());
        }
    }
    Reset();
    return accepted;
}

bool KsXMLParser::ReadName(string16& prefix, string16& name) {
    prefix.Clear();
    name.Clear();
    if (!IsAsciiLetter(PeekChar())) return false;
    for (;;) {
        const unit16 c = PeekChar();
        if (IsNameChar(c)) {
            if (name.Length() >= kMaxXmlNameUnits) return false;
            name.Append(c);
        } else if (c == ':' && prefix.Empty()) {
            prefix = name;
            name.Clear();
        } else {
            break;
        }
        ReadChar();
    }
    if (name.Empty()) return false;
    const unit16 next = PeekChar();
    // A name ends at any white space (tab and line breaks included), '/', '=', '>', '?' or the
    // end of input.
    return Eof() || IsBlankOrBreak(next) || next == '/' || next == '=' || next == '>' ||
           next == '?';
}

void KsXMLParser::SkipComment() {
    SkipChars(2);  // past "!--"
    while (!Eof()) {
        if (PeekChar() == '-' && PeekCharAt(1) == '-' && PeekCharAt(2) == '>') {
            SkipChars(2);
            return;
        }
        ReadChar();
    }
}

void KsXMLParser::ReadTagStart() {
    if (!SkipSpaces()) return;
    bool closing = false;
    bool instruction = false;
    unit16 c = PeekChar();
    if (c == '/') {
        closing = true;
        ReadChar();
    } else if (c == '?') {
        instruction = true;
        ReadChar();
    } else if (c == '!') {
        if (PeekCharAt(1) == '-' && PeekCharAt(2) == '-') {
            SkipComment();
            state_ = State::AfterTag;
            return;
        }
        static const char kCData[] = "![CDATA[";
        bool cdata = true;
        for (int i = 0; kCData[i] && cdata; ++i)
            cdata = PeekCharAt(i) == kCData[i];
        if (cdata) {
            SkipChars(7);
            ReadCData();
            state_ = State::AfterTag;
            return;
        }
    }
    if (!ReadName(tagPrefix_, tagName_) || PeekChar() == '=') {
        // Document type declarations and other unreadable tags are dropped whole.
        if (SkipToChar('>')) ReadChar();
        state_ = State::AfterTag;
        return;
    }
    if (htmlMode_) {
        tagPrefix_.ToLower();
        tagName_.ToLower();
    }
    if (closing) {
        callback_->OnTagClose(tagPrefix_.CStr(), tagName_.CStr());
        if (SkipToChar('>')) ReadChar();
        state_ = State::AfterTag;
        return;
    }
    if (instruction) tagName_.Insert(0, 1, u'?');
    callback_->OnTagOpen(tagPrefix_.CStr(), tagName_.CStr());
    if (!bodyStarted_ && tagName_ == "body") bodyStarted_ = true;
    attributesInTag_ = 0;
    state_ = State::InTag;
}

void KsXMLParser::ReadAttributeValue(string16& value) {
    value.Clear();
    unit16 quote = 0;
    if (PeekChar() == '"' || PeekChar() == '\'') quote = ReadChar();
    while (!Eof()) {
        const unit16 c = PeekChar();
        // '>' ends a value even inside quotes (and is left for the tag), so that a missing
        // closing quote cannot swallow the rest of the document.
        if (c == '>' || c == 0) break;
        if (quote ? c == quote : IsBlankOrBreak(c)) {
            if (quote) ReadChar();
            break;
        }
        if (value.Length() < kMaxXmlAttrValueUnits) value.Append(c);
        ReadChar();
    }
}

void KsXMLParser::ReadAttribute() {
    if (!SkipSpaces()) return;
    const unit16 c = PeekChar();
    const unit16 d = PeekCharAt(1);
    if (c == '>') {
        callback_->OnTagBody();
        ReadChar();
        state_ = State::AfterTag;
        if (htmlMode_ && (tagName_ == "script" || tagName_ == "style")) ReadRawText(tagName_);
        return;
    }
    if (d == '>' && (c == '/' || c == '?')) {
        callback_->OnTagBody();
        callback_->OnTagClose(tagPrefix_.CStr(), tagName_.CStr());
        SkipChars(1);
        state_ = State::AfterTag;
        return;
    }
    if (!ReadName(attrPrefix_, attrName_)) {
        if (c == '<') {
            // The tag never ended: its attributes are complete, and a new tag starts here.
            callback_->OnTagBody();
            ReadChar();
            state_ = State::TagStart;
        } else {
            // A stray character in the attribute list (a lone '/', a quote, a digit...) is
            // skipped; the text after the tag is kept.
            ReadChar();
        }
        return;
    }
    SkipSpaces();
    attrValue_.Clear();
    if (PeekChar() == '=') {
        ReadChar();
        SkipSpaces();
        ReadAttributeValue(attrValue_);
    }
    if (htmlMode_) {
        attrPrefix_.ToLower();
        attrName_.ToLower();
    }
    if (attrValue_.FindUnit(u'&') >= 0) {
        const bool map8bit = (textFlags_ & TXT_MAP_8BIT_ENTITIES) != 0;
        unit16* units = attrValue_.Modify();
        int length =
            PreProcessXmlText(units, attrValue_.Length(), 0, map8bit ? GetCharsetTable() : nullptr,
                              EntityHandling::Decode);
        attrValue_.Truncate(length);
    }
    if (attributesInTag_ < kMaxXmlAttributesPerTag) {
        ++attributesInTag_;
        callback_->OnAttribute(attrPrefix_.CStr(), attrName_.CStr(), attrValue_.CStr());
        if (tagName_ == "?xml" && attrName_ == "encoding" && !attrValue_.Empty() &&
            attrValue_ != GetEncodingName())
            SetCharset(attrValue_.CStr());
    }
}

void KsXMLParser::HandOver(int count, PieceEnd end, EntityHandling entities) {
    if (count <= 0) return;
    const int flags = textFlags_;
    const bool split = (flags & TXT_SPLIT_INDENTED_LINES) != 0;
    const bool map8bit = (flags & TXT_MAP_8BIT_ENTITIES) != 0;
    piece_.assign(pending_.begin(), pending_.begin() + count);
    pending_.erase(pending_.begin(), pending_.begin() + count);
    int length = PreProcessXmlText(piece_.data(), count, flags,
                                   map8bit ? GetCharsetTable() : nullptr, entities);
    if ((flags & TXT_TRIM) && (!(flags & TXT_PREFORMATTED) || split)) {
        length = TrimXmlSpaces(piece_.data(), length, (flags & TXT_TRIM_KEEP_START_SPACE) || split,
                               (flags & TXT_TRIM_KEEP_END_SPACE) != 0, end);
    }
    piece_.resize(static_cast<size_t>(length));
    if ((flags & TXT_PREFORMATTED) &&
        std::find(piece_.begin(), piece_.end(), u'\t') != piece_.end()) {
        ExpandXmlTabs(piece_.data(), length, expanded_);
        piece_.swap(expanded_);
    }
    const int textLength = static_cast<int>(piece_.size());
    piece_.push_back(0);  // the callback gets a terminated text
    callback_->OnText(piece_.data(), textLength, flags);
}

void KsXMLParser::ReadText() {
    textFlags_ = callback_->getFlags();
    const bool split = (textFlags_ & TXT_SPLIT_INDENTED_LINES) != 0;
    pending_.clear();
    int lastCut = 0;  // a position after which a piece may end (0 = none)
    unit16 previous = 0;
    while (!Eof() && !IsStopRequested()) {
        const unit16 c = PeekChar();
        if (c == '<') break;
        if (split && (previous == '\r' || previous == '\n') &&
            (c == ' ' || c == '\t' || c == 0xA0) && !pending_.empty()) {
            HandOver(static_cast<int>(pending_.size()), PieceEnd::EndsRun, EntityHandling::Decode);
            lastCut = 0;
        }
        Collect(c);
        ReadChar();
        if (c == ' ' || (c == '\r' && PeekChar() != '\n') || (c == '\n' && PeekChar() != '\r'))
            lastCut = static_cast<int>(pending_.size());
        if (static_cast<int>(pending_.size()) > kXmlTextPieceUnits) {
            int cut = lastCut > 0 ? lastCut : kXmlTextPieceUnits;
            cut = SafeTextCut(pending_.data(), cut);
            HandOver(cut, PieceEnd::Continues, EntityHandling::Decode);
            lastCut = lastCut > cut ? lastCut - cut : 0;
        }
        previous = c;
    }
    HandOver(static_cast<int>(pending_.size()), PieceEnd::EndsRun, EntityHandling::Decode);
    if (PeekChar() == '<') ReadChar();
}

void KsXMLParser::ReadCData() {
    textFlags_ = callback_->getFlags();
    pending_.clear();
    while (!Eof()) {
        const unit16 c = PeekChar();
        if (c == ']' && PeekCharAt(1) == ']' && PeekCharAt(2) == '>') {
            SkipChars(2);
            break;
        }
        Collect(c);
        ReadChar();
        if (static_cast<int>(pending_.size()) > kXmlTextPieceUnits) {
            int cut = SafeTextCut(pending_.data(), kXmlTextPieceUnits);
            HandOver(cut, PieceEnd::Continues, EntityHandling::Keep);
        }
    }
    HandOver(static_cast<int>(pending_.size()), PieceEnd::EndsRun, EntityHandling::Keep);
}

void KsXMLParser::ReadRawText(const string16& elementName) {
    textFlags_ = callback_->getFlags();
    pending_.clear();
    auto atClosingTag = [&]() {
        if (PeekChar() != '<' || PeekCharAt(1) != '/') return false;
        for (int i = 0; i < elementName.Length(); ++i) {
            unit16 u = PeekCharAt(2 + i);
            if (u >= 'A' && u <= 'Z') u = static_cast<unit16>(u + 32);
            if (u != elementName[i]) return false;
        }
        const unit16 after = PeekCharAt(2 + elementName.Length());
        return after == '>' || after == '/' || IsBlankOrBreak(after) || after == 0;
    };
    while (!Eof() && !atClosingTag()) {
        Collect(ReadChar());
        if (static_cast<int>(pending_.size()) > kXmlTextPieceUnits) {
            int cut = SafeTextCut(pending_.data(), kXmlTextPieceUnits);
            BlankOutHidingMarkers(pending_.data(), cut);
            HandOver(cut, PieceEnd::Continues, EntityHandling::Keep);
        }
    }
    BlankOutHidingMarkers(pending_.data(), static_cast<int>(pending_.size()));
    HandOver(static_cast<int>(pending_.size()), PieceEnd::EndsRun, EntityHandling::Keep);
    if (PeekChar() == '<') {
        ReadChar();
        state_ = State::TagStart;
    }
}

bool KsXMLParser::Parse() {
    Reset();
    bodyStarted_ = false;
    callback_->OnStart(this);
    textFlags_ = callback_->getFlags();
    while (!Eof() && !IsStopRequested()) {
        switch (state_) {
            case State::BeforeFirstTag:
                // Anything before the first '<' is dropped.
                if (SkipToChar('<')) ReadChar();
                state_ = State::TagStart;
                break;
            case State::TagStart:
                ReadTagStart();
                break;
            case State::InTag:
                ReadAttribute();
                break;
            case State::AfterTag:
                ReadText();
                if (bodyStarted_) updateProgress();
                if (state_ == State::AfterTag) state_ = State::TagStart;
                break;
        }
    }
    callback_->OnStop();
    return true;
}
