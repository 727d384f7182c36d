#pragma once

#include <cstdint>
#include <memory>

#include "engine/core/KsString.h"
#include "engine/text/CharsetKinds.h"
#include "engine/text/KsFileParserBase.h"

class KsXMLParserCallback;

// Line flags of ReadLine.
enum KsLineFlags : int {
    KS_LINE_END = 0x0001,      // the line ended with a line break or the end of input
    KS_LINE_HEADING = 0x2000,  // a separator line (now "* * *") or a line marked U+0014 ... U+0015
};

// How much AutodetectEncoding may guess.
enum class EncodingDetection {
    Full,         // byte-order marks, UTF-8, then the language statistics
    UnicodeOnly,  // byte-order marks and UTF-8 only; otherwise the current charset stays
};

// The text layer of every text format: the charset in force, decoding into a buffer of UTF-16
// units, the character primitives the tokenizers read with, and lines.
class KsTextFileBase : public KsFileParserBase {
public:
    static constexpr int kCharBufferUnits = 4096;

    explicit KsTextFileBase(KsRef<KsStream> stream);
    ~KsTextFileBase() override;

    // As the base, then decodes the first characters; a first character U+FEFF (the byte-order
    // mark of the charset in force) is skipped.
    void Reset() override;
    // True when no more characters can be decoded (characters already decoded but not yet read
    // count as input).
    bool Eof() override;

    // Selects the decoding by name (ASCII case ignored): UTF-8, UTF-16/32 in both byte orders,
    // the double-byte charsets, or a single-byte code page. A name that is none of these leaves
    // the decoding in force as it is.
    void SetCharset(const unit16* name) override;
    // Copies a 128-entry table and decodes with it; null drops the table (UTF-8 again).
    void SetCharsetTable(const unit16* table) override;
    const unit16* GetCharsetTable() override { return charsetTable_.get(); }

    const string16& GetEncodingName() const { return encodingName_; }
    const string16& GetLangName() const { return langName_; }
    KsCharsetKind GetCharsetKind() const { return charsetKind_; }

    // Guesses the charset from the first 128 KiB of the stream and selects it; the stream position
    // is kept. Markup in the sample (more than two '<' and '>' each, about as many of both) is
    // left out of the statistics. False for a stream shorter than 16 bytes and, with Full, when
    // nothing was detected; UnicodeOnly keeps the current charset and answers true then.
    bool AutodetectEncoding(EncodingDetection detection = EncodingDetection::Full);

    // Decodes up to maxChars characters of the stream bytes [offset, offset + size) into dest.
    int ReadTextBytes(int64_t offset, int size, unit16* dest, int maxChars, int flags);

    // Character primitives. At the end of input they set the end flag and return 0.
    unit16 PeekChar();
    // The character n places ahead, or 0 beyond the decoded input.
    unit16 PeekCharAt(int n);
    // The current character; then moves one on.
    unit16 ReadChar();
    // Moves one on; returns the new current character.
    unit16 ReadNextChar();
    // Moves n + 1 places on; returns the new current character.
    unit16 SkipChars(int n);
    // Skips spaces, tabs, CR and LF; true when not at the end.
    bool SkipSpaces();
    // Moves on until the current character is c; true when found.
    bool SkipToChar(unit16 c);

    // Reads one line: up to a line break (CR, LF, CR LF or LF CR; not stored), the end of input,
    // or a blank after maxLength characters (the line is cut after that blank). A line without
    // blanks is cut at kMaxTextLineUnits. Separator lines ("---", "* * *", "===") become "* * *"
    // and lines marked U+0014 ... U+0015 lose their markers; both get KS_LINE_HEADING.
    string16 ReadLine(int maxLength, int& lineFlags);

protected:
    // Decodes from the byte buffer position into dest, at most max units; returns the units.
    int ReadChars(unit16* dest, int max);
    // Refills the character buffer; returns the characters available from the index on.
    int FillCharBuffer();

    KsCharsetKind charsetKind_ = KS_CHARSET_8BIT;
    string16 textBuffer_;  // text collected by the tokenizers between tags
    string16 encodingName_;
    string16 langName_;
    std::unique_ptr<unit16[]> charsetTable_;  // 128 entries, or null
    unit16 charBuffer_[kCharBufferUnits];
    int charCount_ = 0;
    int charIndex_ = 0;
    bool endOfInput_ = false;
    KsXMLParserCallback* callback_ = nullptr;  // set by the concrete parser; not owned

private:
    // Decodes one run; sets `ranOut` when it stopped for want of bytes rather than room.
    int DecodeRun(unit16* dest, int max, bool& ranOut);
    bool AtEnd();
};

// The whole stream as text, for stylesheets and other small text files: the charset is detected,
// lines are read and the non-empty ones joined with line feeds. Empty for a null stream.
string16 readTextStream(KsRef<KsStream> stream);
