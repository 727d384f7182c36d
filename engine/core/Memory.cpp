#include "engine/core/Memory.h"

#include <cstdlib>

#include "engine/core/Log.h"

void* KsRealloc(void* block, size_t bytes) {
    void* grown = std::realloc(block, bytes ? bytes : 1);
    if (!grown) {
        std::free(block);
        FatalError(-2, "realloc failed");
    }
    return grown;
}
