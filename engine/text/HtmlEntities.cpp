#include "engine/text/HtmlEntities.h"

#include <algorithm>
#include <cstring>

namespace {

struct Entity {
    const char* name;
    unit16 code;
};

const Entity kEntities[] = {
#include "engine/text/EntityTable.inc"
};

constexpr int kMaxEntityName = 16;

}  // namespace

unit16 LookupHtmlEntity(const unit16* name, int length) {
    if (length <= 0 || length > kMaxEntityName) return 0;
    char ascii[kMaxEntityName + 1];
    for (int i = 0; i < length; ++i) {
        if (name[i] >= 0x80 || name[i] == 0) return 0;
        ascii[i] = static_cast<char>(name[i]);
    }
    ascii[length] = 0;
    const Entity* end = kEntities + sizeof(kEntities) / sizeof(kEntities[0]);
    const Entity* hit = std::lower_bound(
        kEntities, end, ascii,
        [](const Entity& e, const char* key) { return std::strcmp(e.name, key) < 0; });
    return (hit != end && std::strcmp(hit->name, ascii) == 0) ? hit->code : 0;
}
