#include "engine/core/KsString.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/core/Log.h"
#include "engine/core/Memory.h"

namespace {

template <typename Unit>
int32_t UnitLength(const Unit* text) {
    if (!text) return 0;
    const Unit* p = text;
    while (*p)
        ++p;
    int64_t n = p - text;
    if (n > KsBasicString<Unit>::kMaxLength) FatalError(-2, "realloc failed");
    return static_cast<int32_t>(n);
}

template <typename Unit>
int32_t BoundedUnitLength(const Unit* text, int32_t count) {
    if (!text || count <= 0) return 0;
    int32_t n = 0;
    while (n < count && text[n])
        ++n;
    return n;
}

template <typename Unit>
inline uint32_t UnsignedUnit(Unit u) {
    if constexpr (sizeof(Unit) == 1)
        return static_cast<uint8_t>(u);
    else
        return static_cast<uint16_t>(u);
}

template <typename Unit>
inline bool IsSpaceOrTab(Unit u) {
    return u == Unit(' ') || u == Unit('\t');
}

// Clips (start, count) to [0, length].
inline void ClipRange(int32_t length, int32_t& start, int32_t& count) {
    if (start < 0) {
        count = (count > 0 && count + static_cast<int64_t>(start) > 0) ? count + start : 0;
        start = 0;
    }
    if (start > length) start = length;
    if (count < 0) count = 0;
    if (count > length - start) count = length - start;
}

}  // namespace

template <typename Unit>
typename KsBasicString<Unit>::Chunk* KsBasicString<Unit>::EmptyChunk() {
    // The shared empty chunk: capacity 1, length 0, units = one static zero. Never freed.
    struct EmptyStorage {
        Chunk header;
        Unit zero[2];
    };
    static EmptyStorage storage = {{1, 0, 1}, {0, 0}};
    return &storage.header;
}

template <typename Unit>
typename KsBasicString<Unit>::Chunk* KsBasicString<Unit>::AllocChunk(int32_t capacity) {
    if (capacity < 1) capacity = 1;
    if (capacity > kMaxLength) FatalError(-2, "realloc failed");
    size_t bytes = sizeof(Chunk) + (static_cast<size_t>(capacity) + 1) * sizeof(Unit);
    Chunk* chunk = static_cast<Chunk*>(KsRealloc(nullptr, bytes));
    chunk->capacity = capacity;
    chunk->length = 0;
    chunk->refcount = 1;
    chunk->Units()[0] = 0;
    return chunk;
}

template <typename Unit>
void KsBasicString<Unit>::Release(Chunk* chunk) {
    if (chunk == EmptyChunk()) return;
    if (--chunk->refcount == 0) std::free(chunk);
}

template <typename Unit>
void KsBasicString<Unit>::MakeUnique(int32_t capacity) {
    if (capacity > kMaxLength) FatalError(-2, "realloc failed");
    if (chunk_ == EmptyChunk() || chunk_->refcount > 1) {
        int32_t length = chunk_->length;
        Chunk* fresh = AllocChunk(capacity > length ? capacity : length);
        std::memcpy(fresh->Units(), chunk_->Units(), static_cast<size_t>(length) * sizeof(Unit));
        fresh->length = length;
        fresh->Units()[length] = 0;
        Release(chunk_);
        chunk_ = fresh;
    } else if (chunk_->capacity < capacity) {
        size_t bytes = sizeof(Chunk) + (static_cast<size_t>(capacity) + 1) * sizeof(Unit);
        chunk_ = static_cast<Chunk*>(KsRealloc(chunk_, bytes));
        chunk_->capacity = capacity;
    }
}

template <typename Unit>
void KsBasicString<Unit>::GrowForAppend(int32_t needed) {
    // A short or shared string gets exactly what it needs; a unique string that is already long
    // grows by half, so that building a long text piece by piece stays linear.
    int32_t want = needed;
    if (chunk_ != EmptyChunk() && chunk_->refcount == 1 && chunk_->length >= 16 &&
        chunk_->capacity < needed) {
        int64_t grown = static_cast<int64_t>(chunk_->length) + (chunk_->length >> 1) + 1;
        if (grown > kMaxLength) grown = kMaxLength;
        if (grown > want) want = static_cast<int32_t>(grown);
    }
    MakeUnique(want);
}

template <typename Unit>
KsBasicString<Unit>::KsBasicString(const Unit* text) : chunk_(EmptyChunk()) {
    Assign(text, UnitLength(text));
}

template <typename Unit>
KsBasicString<Unit>::KsBasicString(const Unit* text, int32_t count) : chunk_(EmptyChunk()) {
    Assign(text, count);
}

template <typename Unit>
KsBasicString<Unit>::KsBasicString(const KsBasicString& other, int32_t start, int32_t count)
    : chunk_(EmptyChunk()) {
    Assign(other, start, count);
}

template <typename Unit>
KsBasicString<Unit> KsBasicString<Unit>::FromUnit(Unit unit) {
    KsBasicString s;
    if (unit) s.Append(unit);
    return s;
}

template <typename Unit>
KsBasicString<Unit> KsBasicString<Unit>::Repeated(int32_t count, Unit unit) {
    KsBasicString s;
    s.AppendRepeated(count, unit);
    return s;
}

template <typename Unit>
KsBasicString<Unit> KsBasicString<Unit>::FormatInt(int64_t value) {
    char digits[32];
    int n = 0;
    // Work on the magnitude as unsigned so that the most negative value is exact.
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude && n < 30);
    KsBasicString s;
    s.Reserve(n + 1);
    if (value < 0) s.Append(Unit('-'));
    while (n > 0)
        s.Append(Unit(digits[--n]));
    return s;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::operator=(const KsBasicString& other) {
    if (chunk_ != other.chunk_) {
        AddRef(other.chunk_);
        Release(chunk_);
        chunk_ = other.chunk_;
    }
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::operator=(KsBasicString&& other) noexcept {
    if (this != &other) {
        Release(chunk_);
        chunk_ = other.chunk_;
        other.chunk_ = EmptyChunk();
    }
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Assign(const Unit* text) {
    return Assign(text, UnitLength(text));
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Assign(const Unit* text, int32_t count) {
    int32_t n = BoundedUnitLength(text, count);
    if (n == 0) {
        Release(chunk_);
        chunk_ = EmptyChunk();
        return *this;
    }
    // The source may live inside our own chunk; build the new text before releasing it.
    Chunk* fresh = AllocChunk(n);
    std::memcpy(fresh->Units(), text, static_cast<size_t>(n) * sizeof(Unit));
    fresh->length = n;
    fresh->Units()[n] = 0;
    Release(chunk_);
    chunk_ = fresh;
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Assign(const KsBasicString& other, int32_t start,
                                                 int32_t count) {
    ClipRange(other.Length(), start, count);
    if (start == 0 && count == other.Length()) return *this = other;
    return Assign(other.CStr() + start, count);
}

template <typename Unit>
void KsBasicString<Unit>::AssignLatin1(const char* latin1, int32_t count) {
    int32_t n = count < 0 ? UnitLength(latin1) : BoundedUnitLength(latin1, count);
    Release(chunk_);
    chunk_ = EmptyChunk();
    if (n == 0) return;
    chunk_ = AllocChunk(n);
    Unit* out = chunk_->Units();
    for (int32_t i = 0; i < n; ++i)
        out[i] = static_cast<Unit>(static_cast<uint8_t>(latin1[i]));
    out[n] = 0;
    chunk_->length = n;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::AppendWidened(const char* latin1) {
    int32_t n = UnitLength(latin1);
    if (n == 0) return *this;
    int32_t length = Length();
    GrowForAppend(length + n);
    Unit* out = chunk_->Units() + length;
    for (int32_t i = 0; i < n; ++i)
        out[i] = static_cast<Unit>(static_cast<uint8_t>(latin1[i]));
    chunk_->length = length + n;
    chunk_->Units()[chunk_->length] = 0;
    return *this;
}

template <typename Unit>
Unit& KsBasicString<Unit>::UnitAt(int32_t index) {
    if (index < 0 || index >= Length()) FatalError(-1, "Unknown fatal error");
    MakeUnique(Length());
    return chunk_->Units()[index];
}

template <typename Unit>
Unit* KsBasicString<Unit>::Modify() {
    if (Empty()) return chunk_->Units();
    MakeUnique(Length());
    return chunk_->Units();
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Append(Unit unit) {
    int32_t length = Length();
    if (chunk_->refcount > 1 || chunk_ == EmptyChunk() || chunk_->capacity <= length)
        GrowForAppend(length + 1);
    Unit* units = chunk_->Units();
    units[length] = unit;
    units[length + 1] = 0;
    chunk_->length = length + 1;
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Append(const KsBasicString& text) {
    if (text.Empty()) return *this;
    if (Empty()) return *this = text;
    KsBasicString keep(text);  // the text may be this string itself
    return Append(keep.CStr(), keep.Length());
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Append(const Unit* text) {
    return Append(text, UnitLength(text));
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Append(const Unit* text, int32_t count) {
    int32_t n = BoundedUnitLength(text, count);
    if (n == 0) return *this;
    int32_t length = Length();
    if (static_cast<int64_t>(length) + n > kMaxLength) FatalError(-2, "realloc failed");
    // `text` may point into our own buffer, which MakeUnique can move.
    const Unit* base = chunk_->Units();
    bool inside = text >= base && text < base + chunk_->capacity + 1;
    ptrdiff_t offset = text - base;
    GrowForAppend(length + n);
    if (inside) text = chunk_->Units() + offset;
    std::memmove(chunk_->Units() + length, text, static_cast<size_t>(n) * sizeof(Unit));
    chunk_->length = length + n;
    chunk_->Units()[chunk_->length] = 0;
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::AppendRepeated(int32_t count, Unit unit) {
    if (count <= 0) return *this;
    int32_t length = Length();
    if (static_cast<int64_t>(length) + count > kMaxLength) FatalError(-2, "realloc failed");
    GrowForAppend(length + count);
    Unit* out = chunk_->Units() + length;
    for (int32_t i = 0; i < count; ++i)
        out[i] = unit;
    chunk_->length = length + count;
    chunk_->Units()[chunk_->length] = 0;
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Insert(int32_t position, int32_t count, Unit unit) {
    if (count <= 0) return *this;
    int32_t length = Length();
    if (position < 0) position = 0;
    if (position > length) position = length;
    if (static_cast<int64_t>(length) + count > kMaxLength) FatalError(-2, "realloc failed");
    MakeUnique(length + count);
    Unit* units = chunk_->Units();
    std::memmove(units + position + count, units + position,
                 static_cast<size_t>(length - position + 1) * sizeof(Unit));
    for (int32_t i = 0; i < count; ++i)
        units[position + i] = unit;
    chunk_->length = length + count;
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Insert(int32_t position, const KsBasicString& text) {
    if (text.Empty()) return *this;
    KsBasicString keep(text);
    int32_t length = Length();
    if (position < 0) position = 0;
    if (position > length) position = length;
    int32_t n = keep.Length();
    if (static_cast<int64_t>(length) + n > kMaxLength) FatalError(-2, "realloc failed");
    MakeUnique(length + n);
    Unit* units = chunk_->Units();
    std::memmove(units + position + n, units + position,
                 static_cast<size_t>(length - position + 1) * sizeof(Unit));
    std::memcpy(units + position, keep.CStr(), static_cast<size_t>(n) * sizeof(Unit));
    chunk_->length = length + n;
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Erase(int32_t start, int32_t count) {
    int32_t length = Length();
    if (start >= length) return *this;
    ClipRange(length, start, count);
    if (count == 0) return *this;
    if (count == length) return Clear();
    MakeUnique(length);
    Unit* units = chunk_->Units();
    std::memmove(units + start, units + start + count,
                 static_cast<size_t>(length - start - count + 1) * sizeof(Unit));
    chunk_->length = length - count;
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Reserve(int32_t n) {
    if (n <= 0) return *this;
    if (chunk_ == EmptyChunk() || chunk_->refcount > 1 || chunk_->capacity < n) MakeUnique(n);
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Shrink() {
    if (chunk_ == EmptyChunk() || chunk_->refcount > 1) return *this;
    int32_t length = Length();
    if (length == 0) return Clear();
    if (length + 4 < chunk_->capacity) {
        size_t bytes = sizeof(Chunk) + (static_cast<size_t>(length) + 1) * sizeof(Unit);
        chunk_ = static_cast<Chunk*>(KsRealloc(chunk_, bytes));
        chunk_->capacity = length;
    }
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Clear() {
    Release(chunk_);
    chunk_ = EmptyChunk();
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Clear(int32_t n) {
    if (n <= 0) return Clear();
    if (chunk_ != EmptyChunk() && chunk_->refcount == 1) {
        chunk_->length = 0;
        chunk_->Units()[0] = 0;
        if (chunk_->capacity < n) MakeUnique(n);
    } else {
        Release(chunk_);
        chunk_ = AllocChunk(n);
    }
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Truncate(int32_t length) {
    if (length < 0) length = 0;
    if (length >= Length()) return *this;
    if (length == 0) return Clear();
    MakeUnique(Length());
    chunk_->length = length;
    chunk_->Units()[length] = 0;
    return *this;
}

template <typename Unit>
void KsBasicString<Unit>::SetLengthUnsafe(int32_t n) {
    if (n <= 0) {
        if (chunk_ != EmptyChunk()) {
            chunk_->length = 0;
            chunk_->Units()[0] = 0;
        }
        return;
    }
    if (chunk_ == EmptyChunk() || chunk_->refcount > 1 || n > chunk_->capacity)
        FatalError(-1, "Unknown fatal error");
    chunk_->length = n;
    chunk_->Units()[n] = 0;
}

template <typename Unit>
KsBasicString<Unit> KsBasicString<Unit>::Substr(int32_t start, int32_t count) const {
    return KsBasicString(*this, start, count);
}

template <typename Unit>
KsBasicString<Unit> KsBasicString<Unit>::Right(int32_t count) const {
    if (count <= 0) return KsBasicString();
    if (count >= Length()) return *this;
    return Substr(Length() - count, count);
}

template <typename Unit>
int32_t KsBasicString<Unit>::Find(const KsBasicString& needle, int32_t from) const {
    if (from < 0) from = 0;
    int32_t n = needle.Length();
    int32_t length = Length();
    if (n == 0) return from <= length ? from : -1;
    const Unit* s = CStr();
    const Unit* p = needle.CStr();
    for (int32_t i = from; i + n <= length; ++i) {
        if (s[i] != p[0]) continue;
        int32_t j = 1;
        while (j < n && s[i + j] == p[j])
            ++j;
        if (j == n) return i;
    }
    return -1;
}

template <typename Unit>
int32_t KsBasicString<Unit>::Find(const char* asciiNeedle, int32_t from) const {
    if (from < 0) from = 0;
    int32_t n = UnitLength(asciiNeedle);
    int32_t length = Length();
    if (n == 0) return from <= length ? from : -1;
    const Unit* s = CStr();
    for (int32_t i = from; i + n <= length; ++i) {
        int32_t j = 0;
        while (j < n && UnsignedUnit(s[i + j]) == static_cast<uint8_t>(asciiNeedle[j]))
            ++j;
        if (j == n) return i;
    }
    return -1;
}

template <typename Unit>
int32_t KsBasicString<Unit>::FindUnit(Unit unit, int32_t from) const {
    if (from < 0) from = 0;
    const Unit* s = CStr();
    for (int32_t i = from; i < Length(); ++i)
        if (s[i] == unit) return i;
    return -1;
}

template <typename Unit>
int32_t KsBasicString<Unit>::FindLastUnit(Unit unit) const {
    const Unit* s = CStr();
    for (int32_t i = Length() - 1; i >= 0; --i)
        if (s[i] == unit) return i;
    return -1;
}

template <typename Unit>
bool KsBasicString<Unit>::StartsWith(const KsBasicString& prefix) const {
    int32_t n = prefix.Length();
    if (n > Length()) return false;
    return std::memcmp(CStr(), prefix.CStr(), static_cast<size_t>(n) * sizeof(Unit)) == 0;
}

template <typename Unit>
bool KsBasicString<Unit>::StartsWith(const char* asciiPrefix) const {
    if (!asciiPrefix) return true;
    const Unit* s = CStr();
    int32_t i = 0;
    for (; asciiPrefix[i]; ++i) {
        if (i >= Length() || UnsignedUnit(s[i]) != static_cast<uint8_t>(asciiPrefix[i]))
            return false;
    }
    return true;
}

template <typename Unit>
bool KsBasicString<Unit>::EndsWith(const KsBasicString& suffix) const {
    int32_t n = suffix.Length();
    if (n > Length()) return false;
    return std::memcmp(CStr() + Length() - n, suffix.CStr(),
                       static_cast<size_t>(n) * sizeof(Unit)) == 0;
}

template <typename Unit>
bool KsBasicString<Unit>::EndsWith(const char* asciiSuffix) const {
    int32_t n = UnitLength(asciiSuffix);
    if (n > Length()) return false;
    const Unit* s = CStr() + Length() - n;
    for (int32_t i = 0; i < n; ++i)
        if (UnsignedUnit(s[i]) != static_cast<uint8_t>(asciiSuffix[i])) return false;
    return true;
}

template <typename Unit>
int KsBasicString<Unit>::Compare(const KsBasicString& other) const {
    if (chunk_ == other.chunk_) return 0;
    const Unit* a = CStr();
    const Unit* b = other.CStr();
    int32_t n = Length() < other.Length() ? Length() : other.Length();
    for (int32_t i = 0; i < n; ++i) {
        uint32_t x = UnsignedUnit(a[i]);
        uint32_t y = UnsignedUnit(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (Length() == other.Length()) return 0;
    return Length() < other.Length() ? -1 : 1;
}

template <typename Unit>
int KsBasicString<Unit>::Compare(const char* asciiText) const {
    if (!asciiText) return Empty() ? 0 : 1;
    const Unit* a = CStr();
    for (int32_t i = 0;; ++i) {
        uint32_t y = static_cast<uint8_t>(asciiText[i]);
        if (i == Length()) return y == 0 ? 0 : -1;
        if (y == 0) return 1;
        uint32_t x = UnsignedUnit(a[i]);
        if (x != y) return x < y ? -1 : 1;
    }
}

template <typename Unit>
bool KsBasicString<Unit>::operator==(const KsBasicString& other) const {
    if (chunk_ == other.chunk_) return true;
    if (Length() != other.Length()) return false;
    return std::memcmp(CStr(), other.CStr(), static_cast<size_t>(Length()) * sizeof(Unit)) == 0;
}

template <typename Unit>
int32_t KsBasicString<Unit>::Hash() const {
    uint32_t h = 0;
    const Unit* s = CStr();
    for (int32_t i = 0; i < Length(); ++i) {
        int32_t unit;
        if constexpr (sizeof(Unit) == 1)
            unit = static_cast<signed char>(s[i]);
        else
            unit = static_cast<uint16_t>(s[i]);
        h = h * 31u + static_cast<uint32_t>(unit);
    }
    return static_cast<int32_t>(h);
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::ToUpper() {
    if (Empty()) return *this;
    Unit* s = Modify();
    for (int32_t i = 0; i < Length(); ++i) {
        uint32_t c = UnsignedUnit(s[i]);
        if constexpr (sizeof(Unit) == 1) {
            // Byte strings hold UTF-8: only ASCII letters change, other bytes are parts of
            // multi-byte characters.
            if (c >= 'a' && c <= 'z') s[i] = static_cast<Unit>(c - 32);
        } else {
            if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFF && c != 0xF7) ||
                (c >= 0x3B0 && c <= 0x3CF) || (c >= 0x430 && c <= 0x44F))
                s[i] = static_cast<Unit>(c - 32);
            else if (c >= 0x1F00 && c <= 0x1FFF) {
                unsigned low = c & 0xFF;
                if (low < 0x70 || (low >= 0x80 && low <= 0xEF)) s[i] = static_cast<Unit>(c | 0x08);
            }
        }
    }
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::ToLower() {
    if (Empty()) return *this;
    Unit* s = Modify();
    for (int32_t i = 0; i < Length(); ++i) {
        uint32_t c = UnsignedUnit(s[i]);
        if constexpr (sizeof(Unit) == 1) {
            if (c >= 'A' && c <= 'Z') s[i] = static_cast<Unit>(c + 32);
        } else {
            if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDF && c != 0xD7) ||
                (c >= 0x390 && c <= 0x3AF) || (c >= 0x410 && c <= 0x42F))
                s[i] = static_cast<Unit>(c + 32);
            else if (c >= 0x1F00 && c <= 0x1FFF) {
                unsigned low = c & 0xFF;
                if (low < 0x70 || (low >= 0x80 && low <= 0xEF))
                    s[i] = static_cast<Unit>(c & ~0x08u);
            }
        }
    }
    return *this;
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::Trim() {
    int32_t first = 0;
    int32_t last = Length();
    const Unit* s = CStr();
    while (first < last && IsSpaceOrTab(s[first]))
        ++first;
    while (last > first && IsSpaceOrTab(s[last - 1]))
        --last;
    if (first == 0 && last == Length()) return *this;
    return Assign(*this, first, last - first);
}

template <typename Unit>
KsBasicString<Unit>& KsBasicString<Unit>::CollapseSpaces(SpaceCollapse options) {
    if (Empty()) return *this;
    const bool keepLeading = HasFlag(options, SpaceCollapse::KeepLeadingSpace);
    const bool keepTrailing = HasFlag(options, SpaceCollapse::KeepTrailingSpace);
    const bool dropHyphens = HasFlag(options, SpaceCollapse::DropLineEndHyphens);
    enum class State { Start, AfterSpace, AfterText } state = State::Start;
    Unit* s = Modify();
    const int32_t length = Length();
    int32_t out = 0;
    for (int32_t i = 0; i < length; ++i) {
        Unit c = s[i];
        bool isBlank = c == Unit(' ') || c == Unit('\t');
        bool isBreak = c == Unit('\r') || c == Unit('\n');
        if (isBlank || isBreak) {
            if (state == State::AfterText) {
                if (isBreak && dropHyphens && out >= 2 && s[out - 1] == Unit('-')) {
                    uint32_t prev = UnsignedUnit(s[out - 2]);
                    bool letter = (prev >= 'a' && prev <= 'z') || (prev >= 'A' && prev <= 'Z') ||
                                  (sizeof(Unit) > 1 && prev >= 0xC0 && prev <= 0x1FF9);
                    if (letter) --out;
                }
                if (i + 1 < length || keepTrailing) s[out++] = Unit(' ');
            } else if (state == State::Start) {
                if (keepLeading) s[out++] = Unit(' ');
            }
            state = State::AfterSpace;
        } else {
            s[out++] = c;
            state = State::AfterText;
        }
    }
    Truncate(out);
    return *this;
}

namespace {

// Shared by both string types: decimal with optional sign, 64-bit accumulation, fails on
// overflow past `limit`.
template <typename Unit>
bool ParseDecimal(const Unit* s, int32_t length, int32_t& i, bool requireEnd, uint64_t limitPos,
                  uint64_t limitNeg, int64_t& value) {
    bool negative = false;
    if (i < length && (s[i] == Unit('-') || s[i] == Unit('+'))) {
        negative = s[i] == Unit('-');
        ++i;
    }
    if (i >= length || s[i] < Unit('0') || s[i] > Unit('9')) return false;
    uint64_t acc = 0;
    uint64_t limit = negative ? limitNeg : limitPos;
    while (i < length && s[i] >= Unit('0') && s[i] <= Unit('9')) {
        acc = acc * 10 + static_cast<uint64_t>(s[i] - Unit('0'));
        if (acc > limit) return false;
        ++i;
    }
    if (requireEnd && i < length && !IsSpaceOrTab(s[i])) return false;
    value = negative ? static_cast<int64_t>(0 - acc) : static_cast<int64_t>(acc);
    return true;
}

template <typename Unit>
int32_t SkipBlanks(const Unit* s, int32_t length) {
    int32_t i = 0;
    while (i < length && IsSpaceOrTab(s[i]))
        ++i;
    return i;
}

}  // namespace

template <typename Unit>
bool KsBasicString<Unit>::ParseInt(int32_t& value) const {
    const Unit* s = CStr();
    int32_t i = SkipBlanks(s, Length());
    if constexpr (sizeof(Unit) > 1) {
        if (i + 1 < Length() && s[i] == Unit('0') && s[i + 1] == Unit('x')) {
            // Hexadecimal: non-hex units are skipped; the value wraps in 32 bits.
            uint32_t acc = 0;
            for (i += 2; i < Length(); ++i) {
                uint32_t c = static_cast<uint16_t>(s[i]);
                int d = (c >= '0' && c <= '9')   ? int(c - '0')
                        : (c >= 'a' && c <= 'f') ? int(c - 'a' + 10)
                        : (c >= 'A' && c <= 'F') ? int(c - 'A' + 10)
                                                 : -1;
                if (d >= 0) acc = (acc << 4) | static_cast<uint32_t>(d);
            }
            value = static_cast<int32_t>(acc);
            return true;
        }
    }
    int64_t v = 0;
    if (!ParseDecimal(s, Length(), i, true, INT32_MAX, uint64_t(INT32_MAX) + 1, v)) return false;
    value = static_cast<int32_t>(v);
    return true;
}

template <typename Unit>
bool KsBasicString<Unit>::ParseInt64(int64_t& value) const {
    const Unit* s = CStr();
    int32_t i = SkipBlanks(s, Length());
    return ParseDecimal(s, Length(), i, true, INT64_MAX, uint64_t(INT64_MAX) + 1, value);
}

template <typename Unit>
int64_t KsBasicString<Unit>::LeadingInt() const {
    const Unit* s = CStr();
    int32_t i = SkipBlanks(s, Length());
    bool negative = false;
    if (i < Length() && (s[i] == Unit('-') || s[i] == Unit('+'))) negative = s[i++] == Unit('-');
    int64_t acc = 0;
    for (; i < Length() && s[i] >= Unit('0') && s[i] <= Unit('9'); ++i) {
        int digit = static_cast<int>(s[i] - Unit('0'));
        if (acc > (INT64_MAX - digit) / 10) {
            acc = INT64_MAX;
        } else {
            acc = acc * 10 + digit;
        }
    }
    return negative ? -acc : acc;
}

template class KsBasicString<unit8>;
template class KsBasicString<unit16>;
