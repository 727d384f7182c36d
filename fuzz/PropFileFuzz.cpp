// Arbitrary bytes as a property file: load, save, load again; the second load must reproduce
// the first container.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/TnPropContainer.h"
#include "engine/streams/KsMemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KsRef<TnPropContainer> first = CreatePropContainer();
    KsRef<KsStream> in = CreateMemoryStream(data, static_cast<ks_pos_t>(size), MemoryCopy::Wrap);
    if (!first->loadText(*in)) return 0;
    KsRef<KsStream> saved = CreateMemoryStream();
    if (!first->saveText(*saved)) std::abort();
    if (saved->SetPos(0) != 0) std::abort();
    KsRef<TnPropContainer> second = CreatePropContainer();
    if (!second->loadText(*saved)) std::abort();
    if (second->count() != first->count()) std::abort();
    for (int i = 0; i < first->count(); ++i) {
        if (first->nameAt(i) != second->nameAt(i)) std::abort();
        if (first->valueAt(i) != second->valueAt(i)) std::abort();
    }
    // The typed readers must cope with whatever text is there.
    for (int i = 0; i < first->count(); ++i) {
        const char* key = first->nameAt(i).CStr();
        int32_t iv;
        uint32_t color;
        KsRect rect;
        bool b;
        (void)first->readInt(key, iv);
        (void)first->readColor(key, color);
        (void)first->readRect(key, rect);
        (void)first->readBool(key, b);
    }
    return 0;
}
