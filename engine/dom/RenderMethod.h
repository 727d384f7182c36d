#pragma once

#include <cstdint>

// How the block renderer lays an element out; one byte in an element record.
enum class RenderMethod : uint8_t {
    Invisible = 0,
    Block = 1,
    Final = 2,
    Inline = 3,
    ListItem = 5,
    Table = 6,
    TableRowGroup = 7,
    TableHeaderGroup = 8,
    TableFooterGroup = 9,
    TableRow = 10,
    TableColumnGroup = 11,
    TableColumn = 12,
    TableCell = 13,
    TableCaption = 14,
    RunIn = 15,
};
