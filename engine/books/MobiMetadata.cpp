#include "engine/books/MobiMetadata.h"

#include <cstring>

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/core/TnPropContainer.h"
#include "engine/text/CodePages.h"

namespace {

enum ExthType : uint32_t {
    EXTH_AUTHOR = 100,
    EXTH_PUBLISHER = 101,
    EXTH_ISBN = 104,
    EXTH_SUBJECT = 105,
    EXTH_DATE = 106,
    EXTH_CONTRIBUTOR = 108,
    EXTH_RIGHTS = 109,
    EXTH_COVER_OFFSET = 201,
    EXTH_THUMBNAIL_OFFSET = 202,
    EXTH_UPDATED_TITLE = 503,
    EXTH_LANGUAGE = 524,
};

constexpr size_t kExthHeaderBytes = 12;
constexpr size_t kExthRecordHeaderBytes = 8;

void AppendValue(TnPropContainer& properties, const char* key, const string16& value,
                 const char* separator) {
    string16 old;
    if (properties.readText(key, old) && !old.Empty()) {
        old.AppendLatin1(separator);
        old.Append(value);
        properties.writeText(key, old);
    } else {
        properties.writeText(key, value);
    }
}

}  // namespace

string16 DecodeMobiText(const uint8_t* bytes, size_t length, uint32_t encoding) {
    const void* zero = std::memchr(bytes, 0, length);
    if (zero) length = static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes);
    if (encoding == kMobiEncodingUtf8)
        return Utf8ToString16(reinterpret_cast<const char*>(bytes), length);
    // The field is a Windows code page number; MOBI books use 1252 (other numbers get their
    // table where the engine has one, else windows-1252).
    return BytesToString16(bytes, length, GetCodePageTable(static_cast<int>(encoding)));
}

uint32_t ReadMobiMetadata(const uint8_t* record0, size_t size, const PdbBookHeader& header,
                          TnPropContainer& properties) {
    uint32_t coverOffset = kNoMobiCover;
    string16 updatedTitle;
    uint64_t at = 16 + static_cast<uint64_t>(header.mobiHeaderLength);
    if ((header.exthFlags & 0x40) && at + kExthHeaderBytes <= size &&
        std::memcmp(record0 + at, "EXTH", 4) == 0) {
        LogTrace("EXTH record found");
        uint32_t count = PdbU32(record0 + at + 8);
        at += kExthHeaderBytes;
        // Each record takes at least its 8-byte header, so record 0 bounds the walk.
        for (uint32_t i = 0; i < count && at + kExthRecordHeaderBytes <= size; ++i) {
            uint32_t type = PdbU32(record0 + at);
            uint32_t length = PdbU32(record0 + at + 4);
            if (length < kExthRecordHeaderBytes || length > size - at) break;  // malformed
            const uint8_t* data = record0 + at + kExthRecordHeaderBytes;
            size_t dataLength = length - kExthRecordHeaderBytes;
            at += length;
            if (dataLength == 0) continue;
            string16 text = DecodeMobiText(data, dataLength, header.textEncoding);
            switch (type) {
                case EXTH_AUTHOR:
                    LogTrace("MOBI author: %s", String16ToUtf8(text).CStr());
                    AppendValue(properties, "doc.authors", text, " & ");
                    break;
                case EXTH_PUBLISHER:
                    properties.writeText("doc.publisher", text);
                    break;
                case EXTH_ISBN:
                    properties.writeText("doc.ibsn", text);
                    break;
                case EXTH_SUBJECT:
                    LogTrace("MOBI subject: %s", String16ToUtf8(text).CStr());
                    AppendValue(properties, "doc.subject", text, ", ");
                    break;
                case EXTH_DATE:
                    properties.writeText("doc.date", text);
                    break;
                case EXTH_CONTRIBUTOR:
                    properties.writeText("doc.contributor", text);
                    break;
                case EXTH_RIGHTS:
                    properties.writeText("doc.rights", text);
                    break;
                case EXTH_LANGUAGE:
                    properties.writeText("doc.language", text);
                    break;
                case EXTH_UPDATED_TITLE:
                    updatedTitle = text;
                    break;
                case EXTH_COVER_OFFSET:
                    if (dataLength == 4) coverOffset = PdbU32(data);
                    break;
                case EXTH_THUMBNAIL_OFFSET:
                    break;  // the reader shows no thumbnails
                default:
                    break;
            }
        }
    }
    if (!updatedTitle.Empty()) {
        properties.writeText("doc.title", updatedTitle);
    } else if (header.fullNameLength > 0 && header.fullNameOffset < size &&
               header.fullNameLength <= size - header.fullNameOffset) {
        string16 fullName = DecodeMobiText(record0 + header.fullNameOffset, header.fullNameLength,
                                           header.textEncoding);
        if (!fullName.Empty()) properties.writeText("doc.title", fullName);
    }
    return coverOffset;
}
