#pragma once

// How the text file base turns bytes into UTF-16.
enum KsCharsetKind : int {
    KS_CHARSET_NONE = 0,  // decodes nothing
    KS_CHARSET_UTF8 = 1,
    KS_CHARSET_UTF16BE = 2,
    KS_CHARSET_UTF16LE = 3,
    KS_CHARSET_UTF32BE = 4,
    KS_CHARSET_UTF32LE = 5,
    KS_CHARSET_8BIT = 6,  // a 128-entry table, or UTF-8 while there is none
    KS_CHARSET_GBK = 7,
    KS_CHARSET_EUCJP = 8,
    KS_CHARSET_SJIS = 9,
    KS_CHARSET_BIG5 = 10,
    KS_CHARSET_EUCKR = 11,
};

// The kind a charset name selects, ignoring ASCII case; KS_CHARSET_8BIT for every name that is
// not one of the Unicode or double-byte charsets (the single-byte code pages, and unknown names).
KsCharsetKind CharsetKindByName(const char* name);
