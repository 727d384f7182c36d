#pragma once

#include "engine/core/KsString.h"

// The stylesheet a view starts with: FictionBook elements, tables and the notes body.
string8 DefaultStyleSheet();
