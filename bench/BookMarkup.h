#pragma once

#include <string>

// The decoded markup of the large MOBI of the corpus (perf/calibre-big-alice.mobi), or a
// synthetic page of about 5 MB when the corpus is missing.
std::string BigBookMarkup();
