#pragma once

#include <vector>

#include "engine/core/KsString.h"

class KsXMLParserCallback;

// Turns lines of Palm Markup Language (the markup of eReader books) into the events of an FB2
// body: chapters become sections with titles, escapes become styles, links, anchors, images,
// rules and characters. Every line ends its paragraph; styles left open at a line end continue in
// the next paragraph.
class PmlWriter {
public:
    explicit PmlWriter(KsXMLParserCallback* callback);
    PmlWriter(const PmlWriter&) = delete;
    PmlWriter& operator=(const PmlWriter&) = delete;

    // Whether the line ended with a line break. A piece of a long line cut by the line reader
    // does not end the paragraph.
    enum class LineEnd { Break, Cut };
    void ProcessLine(const string16& text, LineEnd end = LineEnd::Break);
    // Closes what is still open: the paragraph, a title, every section.
    void Finish();

private:
    void FlushText();
    void StartParagraph();
    void EndParagraph();
    void CloseStylesDownTo(unit16 letter);
    void ToggleStyle(unit16 letter);
    void StartLink(const string16& href);
    void EndLink();
    void AddAnchor(const string16& name);
    void AddImage(const string16& src);
    void AddRule();
    // Opens a section at a chapter level (0 for \x, n for \Xn), closing the sections open at that
    // level or below it first.
    void StartSection(int level);
    // Closes the innermost section.
    void CloseSection();
    void StartTitle(int level);
    void EndTitle();
    void AppendText(unit16 c);
    // The value of ="..." at pos; `pos` moves past it (it stays when there is none).
    string16 ReadQuotedValue(const string16& text, int32_t& pos) const;
    // The escape at text[pos] (a backslash); returns the index after what it consumed.
    int32_t ProcessEscape(const string16& text, int32_t pos);

    KsXMLParserCallback* callback_;  // not owned
    const unit16* codeTable_;        // windows-1252, for \a codes 128-255
    bool hidden_ = false;
    int align_ = 0;  // 0, 'c' or 'r'
    string16 pending_;
    bool inTitle_ = false;
    bool paragraphOpen_ = false;
    bool indented_ = false;
    bool linkOpen_ = false;
    string16 styles_;                 // style letters open, bottom first
    std::vector<int> sectionLevels_;  // the chapter level of each open section, outermost first
    int sectionCount_ = 0;
};
