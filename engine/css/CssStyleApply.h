#pragma once

#include "engine/css/CssDeclaration.h"
#include "engine/css/CssStyleRecord.h"

class CssStyleSheet;
class ldomNode;

// Writes each value of a compiled declaration block into the style record, in order (later
// values overwrite earlier ones).
void ApplyDeclaration(const CssDeclaration& declaration, CssStyleRecord& style);
// Applies every declaration of the stylesheet that matches the element.
void ApplyStyleSheet(const CssStyleSheet& stylesheet, const ldomNode* element,
                     CssStyleRecord& style);
