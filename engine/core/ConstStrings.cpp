#include "engine/core/ConstStrings.h"

#include <cstdint>

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"

namespace {

// 4096 slots of open addressing; slot = (address * 31) & 0xFFF, linear probing. Past 1024
// literals a lookup that has to step over another literal's slot is treated as exhaustion.
template <typename String>
class ConstStringCache {
public:
    static constexpr int kSlots = 4096;
    static constexpr int kSoftLimit = 1024;

    template <typename Make>
    const String& Get(const char* literal, Make make) {
        uintptr_t slot = (reinterpret_cast<uintptr_t>(literal) * 31u) & (kSlots - 1);
        for (;;) {
            Entry& entry = entries_[slot];
            if (entry.key == literal) return entry.value;
            if (!entry.key) {
                entry.key = literal;
                entry.value = make(literal);
                ++count_;
                return entry.value;
            }
            if (count_ > kSoftLimit) FatalError(-1, "out of memory for const string8");
            slot = (slot + 1) & (kSlots - 1);
        }
    }

private:
    struct Entry {
        const char* key = nullptr;
        String value;
    };
    Entry entries_[kSlots];
    int count_ = 0;
};

}  // namespace

const string8& Cs8(const char* literal) {
    static ConstStringCache<string8>* cache = new ConstStringCache<string8>();
    return cache->Get(literal, [](const char* s) { return string8(s); });
}

const string16& Cs16(const char* literal) {
    static ConstStringCache<string16>* cache = new ConstStringCache<string16>();
    return cache->Get(literal, [](const char* s) { return Utf8ToString16(s); });
}
