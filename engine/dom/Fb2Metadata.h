#pragma once

#include "engine/core/KsString.h"

class ldomDocument;

// The metadata of a FictionBook document, read from its description.

// Text of title-info/book-title, trimmed.
string16 Fb2Title(ldomDocument* document);
// Text of title-info/lang.
string16 Fb2Language(ldomDocument* document);
// The "name" of title-info/sequence, trimmed, and its "number" (0 when there is none).
string16 Fb2Series(ldomDocument* document, int* number);

enum class MiddleName : bool { Full, Initial };
// Up to 16 authors of title-info, each as first, middle and last name joined by single spaces
// (empty parts left out), the authors joined by the delimiter (", " when it is empty).
string16 Fb2Authors(ldomDocument* document, const string16& delimiter, MiddleName middleName);
