#pragma once

#include <cstdint>

#include "engine/dom/ldomElementProps.h"

class lxmlDocBase;

// The built-in element (ids 1-100), attribute (1-33) and namespace (1-5) tables, each ended by a
// row with id 0.
extern const ldomElementTypeEntry kBuiltinElementTypes[];
extern const ldomNameTypeEntry kBuiltinAttributeTypes[];
extern const ldomNameTypeEntry kBuiltinNamespaceTypes[];

// Ids of built-in names that the engine refers to directly.
enum BuiltinElementId : uint16_t {
    el_autoBoxing = 1,
    el_FictionBook = 4,
    el_body = 12,
    el_p = 13,
    el_image = 15,
    el_img = 16,
    el_section = 18,
    el_div = 22,
    el_li = 29,
    el_h1 = 30,
    el_pre = 36,
    el_em = 38,
    el_span = 40,
    el_title = 42,
    el_b = 43,
    el_i = 44,
    el_a = 52,
    el_hr = 55,
    el_table = 56,
    el_td = 65,
    el_stylesheet = 78,
    el_DocFragment = 100,
};
enum BuiltinAttributeId : uint16_t {
    attr_id = 1,
    attr_class = 2,
    attr_name = 4,
    attr_href = 6,
    attr_style = 10,
    attr_StyleSheet = 30,
    attr_title = 31,
};

// Gives a document the built-in tables (the document view does this for every new document).
void loadBuiltinNameTables(lxmlDocBase& document);
