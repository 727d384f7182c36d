#include <iterator>

#include "engine/text/LangProfile.h"

namespace {

const LangProfile kLangProfiles[] = {
#include "engine/text/LangProfiles.inc"
};

}  // namespace

const LangProfile* GetLangProfiles() {
    return kLangProfiles;
}

int GetLangProfileCount() {
    return static_cast<int>(std::size(kLangProfiles));
}
