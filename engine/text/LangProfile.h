#pragma once

#include "engine/text/TextStatistics.h"

// A language profile of the code page detector: the statistics of a large sample of one language
// in one code page (tools/gen/gen_charsets.py builds them from running text).
struct LangProfile {
    const char* codePage;  // the charset name the detector reports
    const char* language;  // the language it reports
    TextStatistics statistics;
};

// The profiles in detector order (earlier ones win ties).
const LangProfile* GetLangProfiles();
int GetLangProfileCount();
