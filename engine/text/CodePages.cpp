#include "engine/text/CodePages.h"

#include "engine/text/AsciiCase.h"

namespace {

#include "engine/text/CodePageTables.inc"

struct CharsetName {
    const char* name;
    int id;
};

// Names of the single-byte code pages, as charset declarations and containers write them.
constexpr CharsetName kCharsetNames[] = {
    {"windows-1250", KS_CP_WINDOWS_1250},
    {"cp1250", KS_CP_WINDOWS_1250},
    {"windows-1251", KS_CP_WINDOWS_1251},
    {"cp1251", KS_CP_WINDOWS_1251},
    {"windows-1252", KS_CP_WINDOWS_1252},
    {"cp1252", KS_CP_WINDOWS_1252},
    // Text labelled ISO-8859-1 (or plain ASCII) is read as windows-1252, its superset, as browsers
    // do: such files often hold the windows-1252 quotes and dashes at 0x80..0x9F.
    {"iso-8859-1", KS_CP_WINDOWS_1252},
    {"iso_8859-1", KS_CP_WINDOWS_1252},
    {"iso8859-1", KS_CP_WINDOWS_1252},
    {"latin-1", KS_CP_WINDOWS_1252},
    {"latin1", KS_CP_WINDOWS_1252},
    {"us-ascii", KS_CP_WINDOWS_1252},
    {"windows-1253", KS_CP_WINDOWS_1253},
    {"cp1253", KS_CP_WINDOWS_1253},
    {"windows-1257", KS_CP_WINDOWS_1257},
    {"cp1257", KS_CP_WINDOWS_1257},
    {"cp775", KS_CP_CP775},
    {"ibm775", KS_CP_CP775},
    {"cp737", KS_CP_CP737},
    {"ibm737", KS_CP_CP737},
    {"cp866", KS_CP_CP866},
    {"windows-866", KS_CP_CP866},
    {"ibm866", KS_CP_CP866},
    {"cp850", KS_CP_CP850},
    {"windows-850", KS_CP_CP850},
    {"ibm850", KS_CP_CP850},
    {"koi-8r", KS_CP_KOI8_R},
    {"koi8r", KS_CP_KOI8_R},
    {"koi8-r", KS_CP_KOI8_R},
    {"iso8859-2", KS_CP_ISO_8859_2},
    {"iso-8859-2", KS_CP_ISO_8859_2},
    {"iso8859_2", KS_CP_ISO_8859_2},
    {"iso_8859-2", KS_CP_ISO_8859_2},
    {"latin-2", KS_CP_ISO_8859_2},
    {"latin2", KS_CP_ISO_8859_2},
    {"windows-1254", KS_CP_WINDOWS_1254},
    {"cp1254", KS_CP_WINDOWS_1254},
    // Latin-5 is ISO-8859-9, the Turkish code page; windows-1254 is its superset.
    {"latin-5", KS_CP_WINDOWS_1254},
    {"latin5", KS_CP_WINDOWS_1254},
    {"iso-8859-9", KS_CP_WINDOWS_1254},
    {"iso8859-9", KS_CP_WINDOWS_1254},
    {"iso_8859-9", KS_CP_WINDOWS_1254},
    {"cp852", KS_CP_CP852},
    {"windows-852", KS_CP_CP852},
    {"ibm852", KS_CP_CP852},
    {"iso8859-16", KS_CP_ISO_8859_16},
    {"iso-8859-16", KS_CP_ISO_8859_16},
    {"iso8859_16", KS_CP_ISO_8859_16},
    {"iso_8859-16", KS_CP_ISO_8859_16},
    {"iso-8859-5", KS_CP_ISO_8859_5},
    {"iso_8859-5", KS_CP_ISO_8859_5},
    {"iso8859-5", KS_CP_ISO_8859_5},
    {"x-mac-cyrillic", KS_CP_MAC_CYRILLIC},
    {"maccyrillic", KS_CP_MAC_CYRILLIC},
    {"mac-cyrillic", KS_CP_MAC_CYRILLIC},
};

struct CodePageTable {
    int id;
    const unit16* table;
};

constexpr CodePageTable kTablesById[] = {
    {KS_CP_WINDOWS_1250, kCodePageWindows1250},
    {KS_CP_WINDOWS_1251, kCodePageWindows1251},
    {KS_CP_WINDOWS_1252, kCodePageWindows1252},
    {KS_CP_WINDOWS_1253, kCodePageWindows1253},
    {KS_CP_WINDOWS_1257, kCodePageWindows1257},
    {KS_CP_CP775, kCodePageCp775},
    {KS_CP_CP737, kCodePageCp737},
    {KS_CP_CP866, kCodePageCp866},
    {KS_CP_CP850, kCodePageCp850},
    {KS_CP_KOI8_R, kCodePageKoi8r},
    {KS_CP_ISO_8859_2, kCodePageIso8859_2},
    {KS_CP_WINDOWS_1254, kCodePageWindows1254},
    {KS_CP_CP852, kCodePageCp852},
    {KS_CP_ISO_8859_16, kCodePageIso8859_16},
    {KS_CP_ISO_8859_5, kCodePageIso8859_5},
    {KS_CP_MAC_CYRILLIC, kCodePageMacCyrillic},
};

struct WindowsCodePage {
    int codePage;
    const unit16* table;
    const char* name;
};

constexpr WindowsCodePage kWindowsCodePages[] = {
    {204, kCodePageWindows1251, "cp1251"},  {1251, kCodePageWindows1251, "cp1251"},
    {737, kCodePageCp737, "cp737"},         {850, kCodePageCp850, "cp850"},
    {866, kCodePageCp866, "cp866"},         {1250, kCodePageWindows1250, "cp1250"},
    {1253, kCodePageWindows1253, "cp1253"}, {1254, kCodePageWindows1254, "cp1254"},
    {1257, kCodePageWindows1257, "cp1257"},
};

const WindowsCodePage* FindWindowsCodePage(int codePage) {
    for (const WindowsCodePage& entry : kWindowsCodePages)
        if (entry.codePage == codePage) return &entry;
    return nullptr;
}

}  // namespace

int GetCharsetIdByName(const char* name) {
    if (!name) return 0;
    for (const CharsetName& entry : kCharsetNames)
        if (EqualsIgnoreAsciiCase(entry.name, name)) return entry.id;
    return 0;
}

const unit16* GetCharsetTableById(int id) {
    for (const CodePageTable& entry : kTablesById)
        if (entry.id == id) return entry.table;
    return nullptr;
}

const unit16* GetCharsetTableByName(const char* name) {
    return GetCharsetTableById(GetCharsetIdByName(name));
}

const unit16* GetCodePageTable(int codePage) {
    const WindowsCodePage* entry = FindWindowsCodePage(codePage);
    return entry ? entry->table : kCodePageWindows1252;
}

const char* GetCodePageName(int codePage) {
    const WindowsCodePage* entry = FindWindowsCodePage(codePage);
    return entry ? entry->name : "cp1252";
}
