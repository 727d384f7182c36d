#pragma once

#include <string>

#include "engine/text/KsXMLParserCallback.h"

// A callback that writes every parse event as one line of text: the tool a person (quillet-cli
// events) and the tests use to see what a tokenizer did.
//   start | open ns:name | attr name="value" | body | text "..." | text[0x4] "..." |
//   close name | charset name | binary name 123 | meta name="value" | stop
// Text is UTF-8 with \n \r \t \\ \" escaped and other control characters, U+00A0, U+FEFF and
// lone surrogates written as \uXXXX.
class KsEventDumpCallback : public KsXMLParserCallback {
public:
    explicit KsEventDumpCallback(int textFlags = 0) : flags_(textFlags) {}

    // Everything written so far (a text still being merged is finished first).
    const std::string& text() {
        Line("");
        return out_;
    }
    // Merge consecutive text events into one line (pieces of one run look like one text).
    void setMergeText(bool merge) { mergeText_ = merge; }
    int openCount() const { return opens_; }
    int closeCount() const { return closes_; }

    int getFlags() override { return flags_; }
    void setFlags(int flags) override { flags_ = flags; }
    void OnCharset(const unit16* name, const unit16* table) override;
    void OnStart(KsFileFormatParser* parser) override;
    void OnStop() override;
    ldomNode* OnTagOpen(const unit16* nsPrefix, const unit16* tagName) override;
    void OnTagBody() override;
    void OnTagClose(const unit16* nsPrefix, const unit16* tagName) override;
    void OnAttribute(const unit16* nsPrefix, const unit16* name, const unit16* value) override;
    void OnText(const unit16* text, int length, int flags) override;
    bool OnBinaryData(const string16& name, const uint8_t* data, int size) override;
    void OnMetaProperty(const char* name, const string8& value) override;

    static std::string Escape(const unit16* text, int length);

private:
    void Line(const std::string& line);
    static std::string Name(const unit16* nsPrefix, const unit16* name);

    int flags_;
    bool mergeText_ = false;
    bool lastWasText_ = false;
    int lastTextFlags_ = 0;
    std::string pendingText_;
    std::string out_;
    int opens_ = 0;
    int closes_ = 0;
};
