#pragma once

#include "document/model/RichText.h"

#include <QString>
#include <functional>

namespace tvl {

class DesignDocument;

// Character formatting of a text item: the font, colour or underline of the selected characters [start,
// end). Each maximal range of selected characters other than terminators, from s to e (the terminator
// right after the last selected character when one follows), is formatted so that the text after it keeps
// its look: an empty slot after the range gets a copy of the run in effect at e.
void FormatFonts(RichText& text, int start, int end, const std::function<void(ItemFont&)>& change);
// The selected characters take one colour run.
void FormatColor(RichText& text, int start, int end, ItemColor color);
void FormatUnderline(RichText& text, int start, int end, bool underline);

// The same on the named item as one undo step; with a caret only (start == end) the whole text changes:
// every font run, every underline word, or the colour of the whole text. False when nothing changed.
bool ApplyFont(DesignDocument& document, const QString& name, int start, int end,
               const std::function<void(ItemFont&)>& change);
bool ApplyColor(DesignDocument& document, const QString& name, int start, int end, ItemColor color);
bool ApplyUnderline(DesignDocument& document, const QString& name, int start, int end, bool underline);

} // namespace tvl
