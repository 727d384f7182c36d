#include "engine/view/ArchiveEntryChoice.h"

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/streams/KsContainer.h"
#include "engine/streams/PathUtils.h"

namespace {

bool HasExtension(const string16& name, std::initializer_list<const char*> extensions) {
    for (const char* extension : extensions)
        if (name.EndsWith(string16(extension))) return true;
    return false;
}

}  // namespace

int ChooseArchiveEntry(KsContainer& archive) {
    int preferred = -1;
    int firstSupported = -1;
    const int count = archive.GetObjectCount();
    for (int i = 0; i < count; ++i) {
        const KsContainerItemInfo* item = archive.GetObjectInfo(i);
        if (!item || item->IsContainer() || !item->GetName()) continue;
        string16 name(item->GetName());
        LogInfo("arc item[%d] : %s", i, String16ToUtf8(name).CStr());
        name.ToLower();
        const bool page = HasExtension(name, {".htm", ".html"});
        if (page) {
            const string16 base = ExtractFilenameWithoutExtension(name);
            if (base == string16("index") || base == string16("default")) preferred = i;
        }
        if (firstSupported < 0 &&
            (page || HasExtension(name, {".fb2", ".rtf", ".txt", ".pml", ".fbd"})))
            firstSupported = i;
    }
    return preferred >= 0 ? preferred : firstSupported;
}
