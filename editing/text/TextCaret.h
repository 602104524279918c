#pragma once

#include "document/model/CRichChild.h"

namespace tvl {

// The characters selected in a text being edited in place: [start, end), a caret before start when the
// two are equal.
struct TextRange
{
    int start = 0;
    int end = 0;

    bool operator==(const TextRange&) const = default;
};

// The selection between two character positions, in order. In a track list two positions in different
// cells select whole cells: from the start of the first cell to the terminator of the last.
TextRange WidenSelection(const CRichChild& item, int a, int b);

enum class CaretKey
{
    Left,
    Right,
    Home,
    End,
};

// The caret after a key. Left and Right collapse a selection to its start or end, else move one
// character; in a track list they step over the cells its trackNumbers mode hides. Home goes to the first
// character, End to the last (the final terminator).
int MoveCaret(const CRichChild& item, TextRange selection, CaretKey key);

} // namespace tvl
