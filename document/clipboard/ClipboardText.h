#pragma once

#include <QString>

namespace tvl {

class CRichChild;

// The text of a selection [selStart, selEnd) of a "Text" or "Track" item as it goes on the clipboard, line
// breaks as CR LF and without cell terminators. A track list gives the selected columns of each track, one
// track per line; the cells of one track run together, as their own texts carry the spacing.
QString ClipboardTextOf(const CRichChild& item, int selStart, int selEnd);

// Text from the clipboard as it goes into an item: CR LF becomes a line break, terminators and tabs blanks.
QString TextFromClipboard(QString text);

} // namespace tvl
