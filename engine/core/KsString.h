#pragma once

#include <cstdint>
#include <type_traits>

#include "engine/core/Types.h"

// Options of CollapseSpaces.
enum class SpaceCollapse : unsigned {
    None = 0,
    KeepLeadingSpace = 1,
    KeepTrailingSpace = 2,
    DropLineEndHyphens = 4,
};
constexpr SpaceCollapse operator|(SpaceCollapse a, SpaceCollapse b) {
    return static_cast<SpaceCollapse>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool HasFlag(SpaceCollapse set, SpaceCollapse flag) {
    return (static_cast<unsigned>(set) & static_cast<unsigned>(flag)) != 0;
}

// The engine's string: a pointer to a shared, reference-counted chunk holding the units followed by
// a 0 terminator. Copies share the chunk; every change first makes the chunk unique (copy on
// write). All empty strings share one static chunk, so an empty string costs no allocation.
// Reference counts are plain integers: a string and its copies belong to one thread at a time.
// Positions and counts are in units; positions past the end are clipped.
template <typename Unit>
class KsBasicString {
public:
    using unit_type = Unit;
    static constexpr int32_t kMaxLength = 0x3FFFFFF0 / static_cast<int32_t>(sizeof(Unit));

    KsBasicString() : chunk_(EmptyChunk()) {}
    KsBasicString(const KsBasicString& other) : chunk_(other.chunk_) { AddRef(chunk_); }
    KsBasicString(KsBasicString&& other) noexcept : chunk_(other.chunk_) {
        other.chunk_ = EmptyChunk();
    }
    // From a 0-terminated text (null gives the empty string).
    KsBasicString(const Unit* text);  // NOLINT: implicit by design, like std::string
    // From text + count; stops early at a 0 unit.
    KsBasicString(const Unit* text, int32_t count);
    // A substring of another string; start and count are clipped.
    KsBasicString(const KsBasicString& other, int32_t start, int32_t count);
    // The 16-bit string widens each byte of an 8-bit text (Latin-1): for ASCII literals.
    template <typename U = Unit, typename = std::enable_if_t<!std::is_same_v<U, char>>>
    KsBasicString(const char* latin1) : chunk_(EmptyChunk()) {  // NOLINT
        AssignLatin1(latin1, -1);
    }
    template <typename U = Unit, typename = std::enable_if_t<!std::is_same_v<U, char>>>
    KsBasicString(const char* latin1, int32_t count) : chunk_(EmptyChunk()) {
        AssignLatin1(latin1, count);
    }
    ~KsBasicString() { Release(chunk_); }

    static KsBasicString FromUnit(Unit unit);
    static KsBasicString Repeated(int32_t count, Unit unit);
    // Decimal text of a signed value.
    static KsBasicString FormatInt(int64_t value);

    KsBasicString& operator=(const KsBasicString& other);
    KsBasicString& operator=(KsBasicString&& other) noexcept;
    KsBasicString& operator=(const Unit* text) { return Assign(text); }

    KsBasicString& Assign(const KsBasicString& other) { return *this = other; }
    KsBasicString& Assign(const Unit* text);
    KsBasicString& Assign(const Unit* text, int32_t count);
    KsBasicString& Assign(const KsBasicString& other, int32_t start, int32_t count);

    int32_t Length() const { return chunk_->length; }
    bool Empty() const { return chunk_->length == 0; }
    int32_t Capacity() const { return chunk_->capacity; }
    const Unit* CStr() const { return chunk_->Units(); }
    const Unit* Data() const { return chunk_->Units(); }
    const Unit* begin() const { return chunk_->Units(); }
    const Unit* end() const { return chunk_->Units() + chunk_->length; }
    // Read access; any index up to the length (the terminator) is valid, beyond it gives 0.
    Unit operator[](int32_t index) const {
        return (index >= 0 && index <= chunk_->length) ? chunk_->Units()[index] : Unit(0);
    }
    // Bounds-checked mutable access; unshares the chunk. An index past the last unit is an
    // internal error: the terminator is never handed out for writing.
    Unit& UnitAt(int32_t index);
    // Mutable access to the whole buffer (unshares); valid up to Length().
    Unit* Modify();
    bool IsShared() const { return chunk_->refcount > 1; }

    KsBasicString& Append(Unit unit);
    KsBasicString& Append(const KsBasicString& text);
    KsBasicString& Append(const Unit* text);
    KsBasicString& Append(const Unit* text, int32_t count);
    KsBasicString& AppendRepeated(int32_t count, Unit unit);
    template <typename U = Unit, typename = std::enable_if_t<!std::is_same_v<U, char>>>
    KsBasicString& AppendLatin1(const char* latin1) {
        return AppendWidened(latin1);
    }
    KsBasicString& AppendDecimal(int64_t value) { return Append(FormatInt(value)); }
    KsBasicString& operator+=(Unit unit) { return Append(unit); }
    KsBasicString& operator+=(const KsBasicString& text) { return Append(text); }
    KsBasicString& operator+=(const Unit* text) { return Append(text); }

    KsBasicString& Insert(int32_t position, int32_t count, Unit unit);
    KsBasicString& Insert(int32_t position, const KsBasicString& text);
    KsBasicString& Erase(int32_t start, int32_t count);
    // Makes room for n units without over-allocating.
    KsBasicString& Reserve(int32_t n);
    // Gives memory back when length + 4 < capacity.
    KsBasicString& Shrink();
    KsBasicString& Clear();
    // Empties the string keeping a unique chunk of capacity >= n.
    KsBasicString& Clear(int32_t n);
    KsBasicString& Truncate(int32_t length);
    // Sets the length to n (<= capacity after Reserve); the caller has written the units.
    void SetLengthUnsafe(int32_t n);

    KsBasicString Substr(int32_t start, int32_t count) const;
    KsBasicString Substr(int32_t start) const { return Substr(start, Length()); }
    KsBasicString Left(int32_t count) const { return Substr(0, count); }
    KsBasicString Right(int32_t count) const;

    int32_t Find(const KsBasicString& needle, int32_t from = 0) const;
    int32_t Find(const char* asciiNeedle, int32_t from = 0) const;
    int32_t FindUnit(Unit unit, int32_t from = 0) const;
    int32_t FindLastUnit(Unit unit) const;
    bool StartsWith(const KsBasicString& prefix) const;
    bool StartsWith(const char* asciiPrefix) const;
    bool EndsWith(const KsBasicString& suffix) const;
    bool EndsWith(const char* asciiSuffix) const;
    bool Contains(const char* asciiNeedle) const { return Find(asciiNeedle) >= 0; }

    // Lexicographic by unsigned units; a shorter prefix sorts first.
    int Compare(const KsBasicString& other) const;
    int Compare(const char* asciiText) const;
    bool operator==(const KsBasicString& other) const;
    bool operator!=(const KsBasicString& other) const { return !(*this == other); }
    bool operator<(const KsBasicString& other) const { return Compare(other) < 0; }
    bool operator==(const char* asciiText) const { return Compare(asciiText) == 0; }
    bool operator!=(const char* asciiText) const { return Compare(asciiText) != 0; }

    // h = h * 31 + unit (bytes of a string8 taken as signed), in wrapping unsigned arithmetic.
    int32_t Hash() const;

    KsBasicString& ToUpper();
    KsBasicString& ToLower();
    // Removes spaces and tabs at both ends.
    KsBasicString& Trim();
    KsBasicString& CollapseSpaces(SpaceCollapse options);

    // Decimal (and, for 16-bit strings, "0x" hexadecimal) parse; see the implementation for the
    // exact grammar. Fails on overflow.
    [[nodiscard]] bool ParseInt(int32_t& value) const;
    [[nodiscard]] bool ParseInt64(int64_t& value) const;
    // Value of the leading digits (after spaces, tabs and a sign); 0 when there is none. Saturates.
    int64_t LeadingInt() const;

private:
    struct Chunk {
        int32_t capacity;
        int32_t length;
        int32_t refcount;
        Unit* Units() { return reinterpret_cast<Unit*>(this + 1); }
        const Unit* Units() const { return reinterpret_cast<const Unit*>(this + 1); }
    };

    static Chunk* EmptyChunk();
    static Chunk* AllocChunk(int32_t capacity);
    static void AddRef(Chunk* chunk) {
        if (chunk != EmptyChunk()) ++chunk->refcount;
    }
    static void Release(Chunk* chunk);

    // Makes the chunk unique with room for at least `capacity` units.
    void MakeUnique(int32_t capacity);
    // Makes the chunk unique with room for `needed` units, growing long strings geometrically.
    void GrowForAppend(int32_t needed);
    void AssignLatin1(const char* latin1, int32_t count);
    KsBasicString& AppendWidened(const char* latin1);

    Chunk* chunk_;
};

using string8 = KsBasicString<unit8>;
using string16 = KsBasicString<unit16>;

extern template class KsBasicString<unit8>;
extern template class KsBasicString<unit16>;

template <typename Unit>
inline KsBasicString<Unit> operator+(const KsBasicString<Unit>& a, const KsBasicString<Unit>& b) {
    KsBasicString<Unit> result;
    result.Reserve(a.Length() + b.Length());
    result.Append(a);
    result.Append(b);
    return result;
}

template <typename Unit>
inline KsBasicString<Unit> operator+(const KsBasicString<Unit>& a, const Unit* b) {
    return a + KsBasicString<Unit>(b);
}

inline string16 operator+(const string16& a, const char* latin1) {
    string16 result(a);
    result.AppendLatin1(latin1);
    return result;
}
