#include "engine/text/CharsetKinds.h"

#include "engine/text/AsciiCase.h"

namespace {

struct KindName {
    const char* name;
    KsCharsetKind kind;
};

constexpr KindName kKindNames[] = {
    {"utf-8", KS_CHARSET_UTF8},
    // Written without the hyphen by the detector's UTF-8 profiles and by many declarations.
    {"utf8", KS_CHARSET_UTF8},
    {"utf-16", KS_CHARSET_UTF16LE},
    {"gbk", KS_CHARSET_GBK},
    {"cp936", KS_CHARSET_GBK},
    {"cp-936", KS_CHARSET_GBK},
    // GB2312 is a subset of GBK; GB18030 text is GBK apart from its four-byte sequences.
    {"gb2312", KS_CHARSET_GBK},
    {"gb18030", KS_CHARSET_GBK},
    {"shift-jis", KS_CHARSET_SJIS},
    {"shift_jis", KS_CHARSET_SJIS},
    {"sjis", KS_CHARSET_SJIS},
    {"ms_kanji", KS_CHARSET_SJIS},
    {"csshiftjis", KS_CHARSET_SJIS},
    {"shift_jisx0213", KS_CHARSET_SJIS},
    {"shift_jis-2004", KS_CHARSET_SJIS},
    {"cp932", KS_CHARSET_SJIS},
    {"euc-jisx0213", KS_CHARSET_EUCJP},
    {"euc-jis-2004", KS_CHARSET_EUCJP},
    {"euc-jis", KS_CHARSET_EUCJP},
    {"euc-jp", KS_CHARSET_EUCJP},
    {"eucjp", KS_CHARSET_EUCJP},
    {"big5", KS_CHARSET_BIG5},
    {"big5-2003", KS_CHARSET_BIG5},
    {"big-5", KS_CHARSET_BIG5},
    {"big-five", KS_CHARSET_BIG5},
    {"bigfive", KS_CHARSET_BIG5},
    {"cn-big5", KS_CHARSET_BIG5},
    {"csbig5", KS_CHARSET_BIG5},
    {"cp950", KS_CHARSET_BIG5},
    {"euc_kr", KS_CHARSET_EUCKR},
    {"euc-kr", KS_CHARSET_EUCKR},
    {"euckr", KS_CHARSET_EUCKR},
    {"cseuckr", KS_CHARSET_EUCKR},
    {"cp51949", KS_CHARSET_EUCKR},
    {"cp949", KS_CHARSET_EUCKR},
    // The name Windows gives Korean text in its code page 949.
    {"ks_c_5601-1987", KS_CHARSET_EUCKR},
    {"utf-16le", KS_CHARSET_UTF16LE},
    {"utf-16be", KS_CHARSET_UTF16BE},
    {"utf-32", KS_CHARSET_UTF32LE},
    {"utf-32le", KS_CHARSET_UTF32LE},
    {"utf-32be", KS_CHARSET_UTF32BE},
};

}  // namespace

KsCharsetKind CharsetKindByName(const char* name) {
    if (name) {
        for (const KindName& entry : kKindNames)
            if (EqualsIgnoreAsciiCase(entry.name, name)) return entry.kind;
    }
    return KS_CHARSET_8BIT;
}
