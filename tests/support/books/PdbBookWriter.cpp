#include "tests/support/books/PdbBookWriter.h"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "tests/support/books/HuffCdicEncoder.h"
#include "tests/support/books/PalmDocCompressor.h"

namespace {

void PutU32(std::string& out, uint32_t v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}
void SetU16(std::string& out, size_t at, uint32_t v) {
    out[at] = static_cast<char>(v >> 8);
    out[at + 1] = static_cast<char>(v);
}
void SetU32(std::string& out, size_t at, uint32_t v) {
    out[at] = static_cast<char>(v >> 24);
    out[at + 1] = static_cast<char>(v >> 16);
    out[at + 2] = static_cast<char>(v >> 8);
    out[at + 3] = static_cast<char>(v);
}
uint32_t GetU32(const std::string& in, size_t at) {
    return (static_cast<uint32_t>(static_cast<unsigned char>(in[at])) << 24) |
           (static_cast<uint32_t>(static_cast<unsigned char>(in[at + 1])) << 16) |
           (static_cast<uint32_t>(static_cast<unsigned char>(in[at + 2])) << 8) |
           static_cast<unsigned char>(in[at + 3]);
}

std::vector<std::string> SplitText(const std::string& text, uint32_t recordSize) {
    std::vector<std::string> chunks;
    for (size_t i = 0; i < text.size(); i += recordSize)
        chunks.push_back(text.substr(i, recordSize));
    return chunks;
}

std::string ZlibCompress(const std::string& text) {
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                  9) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(size);
    return out;
}

// The bytes that complete a UTF-8 character cut by the end of `chunk`; they open `next`.
std::string Utf8Overlap(const std::string& chunk, const std::string& next) {
    size_t lead = chunk.size();
    int back = 0;
    while (lead > 0 && back < 3 && (static_cast<unsigned char>(chunk[lead - 1]) & 0xC0) == 0x80) {
        --lead;
        ++back;
    }
    if (lead == 0) return "";
    unsigned char c = static_cast<unsigned char>(chunk[lead - 1]);
    size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    size_t have = chunk.size() - lead + 1;
    if (need <= have) return "";
    return next.substr(0, need - have);
}

std::string TrailingEntries(const PdbBookRecipe& recipe, const std::string& chunk,
                            const std::string& next) {
    std::string out;
    if (recipe.extraDataFlags & 1) {
        std::string overlap = Utf8Overlap(chunk, next);
        // The low 2 bits count the overlap bytes; the upper bits are not part of the count.
        out += overlap + static_cast<char>(0x40 | overlap.size());
    }
    for (int bit = 1; bit <= 15; ++bit) {
        if (!(recipe.extraDataFlags & (1u << bit))) continue;
        std::string size = EncodeBackwardVarint(recipe.trailingEntryBytes);
        if (recipe.trailingEntryBytes < size.size()) throw std::runtime_error("entry too small");
        out += std::string(recipe.trailingEntryBytes - size.size(), static_cast<char>(0xA0 + bit));
        out += size;
    }
    return out;
}

std::string MobiRecord0(const PdbBookRecipe& recipe, uint32_t textLength, uint32_t textRecords,
                        uint32_t huffRecord, uint32_t huffCount, uint32_t firstImage) {
    std::string exth;
    if (recipe.writeExth && !recipe.exth.empty()) {
        std::string body;
        for (const auto& [type, value] : recipe.exth) {
            PutU32(body, type);
            PutU32(body, static_cast<uint32_t>(value.size() + 8));
            body += value;
        }
        exth = "EXTH";
        PutU32(exth, static_cast<uint32_t>(body.size() + 12));
        PutU32(exth, static_cast<uint32_t>(recipe.exth.size()));
        exth += body;
        while (exth.size() % 4)
            exth += '\0';
    }
    size_t headerEnd = 16 + recipe.mobiHeaderLength;
    std::string r0(std::max<size_t>(headerEnd, 248), '\0');
    SetU16(r0, 0, recipe.compression);
    SetU32(r0, 4, textLength);
    SetU16(r0, 8, textRecords);
    SetU16(r0, 10, recipe.recordSize);
    SetU16(r0, 12, recipe.encryption);
    r0.replace(16, 4, "MOBI");
    SetU32(r0, 20, recipe.mobiHeaderLength);
    SetU32(r0, 24, recipe.mobiType);
    SetU32(r0, 28, recipe.textEncoding);
    SetU32(r0, 36, 6);  // file version
    SetU32(r0, 108, firstImage);
    SetU32(r0, 112, huffRecord);
    SetU32(r0, 116, huffCount);
    SetU32(r0, 128, exth.empty() ? 0 : 0x40);
    if (recipe.mobiHeaderLength >= 228 && recipe.writeExtraFlagsField)
        SetU16(r0, 242, recipe.extraDataFlags);
    r0.resize(headerEnd);
    r0 += exth;
    SetU32(r0, 84, static_cast<uint32_t>(r0.size()));
    SetU32(r0, 88, static_cast<uint32_t>(recipe.fullName.size()));
    r0 += recipe.fullName;
    r0 += std::string(4 - r0.size() % 4, '\0');
    if (r0.size() < 180) r0.resize(180, '\0');
    return r0;
}

}  // namespace

std::string EncodeBackwardVarint(uint32_t value) {
    std::string groups;
    do {
        groups.insert(groups.begin(), static_cast<char>(value & 0x7F));
        value >>= 7;
    } while (value);
    groups[0] = static_cast<char>(groups[0] | 0x80);
    return groups;
}

std::string WritePdbFile(const std::string& name, const char* type, const char* creator,
                         const std::vector<std::string>& records) {
    std::string out(78, '\0');
    out.replace(0, std::min<size_t>(name.size(), 31), name.substr(0, 31));
    out.replace(60, 4, type, 4);
    out.replace(64, 4, creator, 4);
    SetU16(out, 76, static_cast<uint32_t>(records.size()));
    uint32_t offset = static_cast<uint32_t>(78 + 8 * records.size() + 2);
    for (size_t i = 0; i < records.size(); ++i) {
        PutU32(out, offset);
        PutU32(out, static_cast<uint32_t>(2 * i));  // attributes 0, unique id
        offset += static_cast<uint32_t>(records[i].size());
    }
    out += std::string(2, '\0');
    for (const std::string& record : records)
        out += record;
    return out;
}

std::string WritePdbBook(const PdbBookRecipe& recipe) {
    std::vector<std::string> chunks = SplitText(recipe.text, recipe.recordSize);
    uint32_t textLength = recipe.declaredTextLength >= 0
                              ? static_cast<uint32_t>(recipe.declaredTextLength)
                              : static_cast<uint32_t>(recipe.text.size());
    std::vector<std::string> textRecords;
    std::unique_ptr<HuffCdicEncoder> huff;
    if (recipe.compression == kWriteHuffCdic) huff = std::make_unique<HuffCdicEncoder>(recipe.text);
    for (size_t i = 0; i < chunks.size(); ++i) {
        const std::string& chunk = chunks[i];
        std::string record;
        switch (recipe.compression) {
            case kWriteUncompressed:
                record = chunk;
                break;
            case kWritePalmDoc:
                record = CompressPalmDoc(chunk);
                break;
            case kWriteZlib:
                record = ZlibCompress(chunk);
                break;
            case kWriteHuffCdic:
                record = huff->EncodeRecord(chunk);
                break;
            default:
                record = chunk;
                break;
        }
        if (recipe.kind == PdbBookKind::Mobi)
            record += TrailingEntries(recipe, chunk, i + 1 < chunks.size() ? chunks[i + 1] : "");
        textRecords.push_back(record);
    }
    const uint32_t textCount = static_cast<uint32_t>(textRecords.size());

    std::vector<std::string> records(1);
    records.insert(records.end(), textRecords.begin(), textRecords.end());
    uint32_t huffRecord = 0, huffCount = 0;
    if (huff) {
        std::vector<std::string> tables = huff->TableRecords();
        huffRecord = static_cast<uint32_t>(records.size());
        huffCount = static_cast<uint32_t>(tables.size());
        records.insert(records.end(), tables.begin(), tables.end());
    }
    uint32_t firstImage =
        recipe.images.empty() ? 0xFFFFFFFFu : static_cast<uint32_t>(records.size());

    switch (recipe.kind) {
        case PdbBookKind::Mobi:
            records[0] =
                MobiRecord0(recipe, textLength, textCount, huffRecord, huffCount, firstImage);
            records.insert(records.end(), recipe.images.begin(), recipe.images.end());
            return WritePdbFile(recipe.databaseName, "BOOK", "MOBI", records);
        case PdbBookKind::PalmDoc: {
            std::string r0(16, '\0');
            SetU16(r0, 0, recipe.compression);
            SetU32(r0, 4, textLength);
            SetU16(r0, 8, textCount);
            SetU16(r0, 10, recipe.recordSize);
            SetU16(r0, 12, recipe.encryption);
            records[0] = r0;
            return WritePdbFile(recipe.databaseName, "TEXt", "REAd", records);
        }
        case PdbBookKind::EReader: {
            std::string r0(132, '\0');
            SetU16(r0, 0, recipe.compression);
            SetU16(r0, 12, textCount + 1);  // first non-text record
            SetU16(r0, 20, static_cast<uint32_t>(recipe.images.size()));
            SetU16(r0, 40, recipe.images.empty() ? 0 : firstImage);
            records[0] = r0;
            for (size_t i = 0; i < recipe.images.size(); ++i) {
                std::string name = i < recipe.imageNames.size() ? recipe.imageNames[i] : "";
                std::string record = "PNG " + name.substr(0, 32);
                record.resize(62, '\0');
                records.push_back(record + recipe.images[i]);
            }
            return WritePdbFile(recipe.databaseName, "PNRd", "PPrs", records);
        }
    }
    return "";
}

uint32_t PdbRecordCount(const std::string& file) {
    return (static_cast<unsigned char>(file[76]) << 8) | static_cast<unsigned char>(file[77]);
}

uint32_t PdbRecordOffset(const std::string& file, uint32_t index) {
    return GetU32(file, 78 + 8 * index);
}

void PatchU16(std::string& file, size_t offset, uint16_t value) {
    SetU16(file, offset, value);
}

void PatchU32(std::string& file, size_t offset, uint32_t value) {
    SetU32(file, offset, value);
}

void PatchRecordU16(std::string& file, uint32_t index, size_t offset, uint16_t value) {
    SetU16(file, PdbRecordOffset(file, index) + offset, value);
}

void PatchRecordU32(std::string& file, uint32_t index, size_t offset, uint32_t value) {
    SetU32(file, PdbRecordOffset(file, index) + offset, value);
}

std::string FakeJpeg(unsigned char marker, size_t size) {
    std::string out = "\xFF\xD8\xFF";
    out += static_cast<char>(marker);
    out.resize(std::max<size_t>(size, 4), 'j');
    return out;
}

std::string FakePng(size_t size) {
    std::string out = "\x89PNG\r\n\x1a\n";
    out.resize(std::max<size_t>(size, 8), 'p');
    return out;
}

std::string FakeGif(size_t size) {
    std::string out = "GIF89a";
    out.resize(std::max<size_t>(size, 6), 'g');
    return out;
}
