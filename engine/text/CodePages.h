#pragma once

#include "engine/core/Types.h"

// The single-byte code pages the engine decodes, and the lookups from charset names, Windows code
// page numbers and Windows locale identifiers (LCIDs). A table holds the 128 UTF-16 units of the
// bytes 0x80..0xFF; bytes below 0x80 are ASCII in every one of them. Tables are static and never
// freed.

// Code-page ids of the name table (the ids the text file base and the containers pass around).
enum KsCodePageId : int {
    KS_CP_WINDOWS_1250 = 7,
    KS_CP_WINDOWS_1251 = 8,
    KS_CP_WINDOWS_1252 = 9,
    KS_CP_WINDOWS_1253 = 10,
    KS_CP_WINDOWS_1257 = 11,
    KS_CP_CP775 = 12,
    KS_CP_CP737 = 13,
    KS_CP_CP866 = 14,
    KS_CP_CP850 = 15,
    KS_CP_KOI8_R = 16,
    KS_CP_ISO_8859_2 = 17,
    KS_CP_WINDOWS_1254 = 18,
    KS_CP_CP852 = 19,
    KS_CP_ISO_8859_16 = 20,
    KS_CP_ISO_8859_5 = 21,
    KS_CP_MAC_CYRILLIC = 22,
};

// The table of a charset name (ASCII case is ignored), or null for a name that is not a
// single-byte code page of the engine.
const unit16* GetCharsetTableByName(const char* name);
// The code-page id of a charset name, or 0.
int GetCharsetIdByName(const char* name);
// The table of a code-page id, or null.
const unit16* GetCharsetTableById(int id);

// The table of a Windows code page number: 204 and 1251 give windows-1251; 737, 850, 866, 1250,
// 1253, 1254 and 1257 their own tables; any other number windows-1252.
const unit16* GetCodePageTable(int codePage);
// The charset name of a Windows code page number, matching GetCodePageTable: "cp1251", "cp737",
// "cp850", "cp866", "cp1250", "cp1253", "cp1254", "cp1257"; any other number "cp1252".
const char* GetCodePageName(int codePage);

// The ANSI code page of a Windows locale identifier (1251 for identifiers not listed).
int LcidToCodePage(int lcid);
// The ISO 639 code of a Windows locale identifier's language (for example 1033 and 9 give "en"),
// or null for an identifier that is not in the Windows locale list.
const char* LcidToLanguage(int lcid);
