#pragma once

#include <vector>

#include "engine/core/StringCollection.h"
#include "engine/core/TnPropAccessor.h"

// The reader's font sizes, smallest first: what the view offers and the settings accept.
std::vector<int> DefaultFontSizes();

// The face a new reader starts with: the first of a few well-known sans-serif faces that is
// registered, else the first registered face, else empty text.
string16 ChooseDefaultFace(const KsString16Collection& registeredFaces);

// Establishes every setting the view knows with its default, keeping stored values that are
// allowed. `registeredFaces` are the font manager's faces (sorted); `fontSizes` the view's list.
// Order matters: where a key is touched twice the first step that stores a value wins.
void fillDefaultProperties(TnPropAccessor& settings, const KsString16Collection& registeredFaces,
                           const std::vector<int>& fontSizes);
