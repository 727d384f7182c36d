#pragma once

#include <cstddef>

// Reallocation that never returns null: when the block cannot grow, the old block is freed and the
// engine stops with fatal error -2 "realloc failed".
void* KsRealloc(void* block, size_t bytes);
