#pragma once

#include "document/model/CText.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace tvl {

class LabelDesign;

using TextRows = std::vector<std::unique_ptr<CText>>;

// A plain early text as a cell: every "\r\n" becomes "\r" and the cell terminator follows.
QString EarlyPlainText(const QString& value);

// The early track-list form "count`title`time`…`" as cells "n. ", title and " " + time per track;
// nothing when the count promises more tracks than the value holds.
std::optional<QString> EarlyTrackList(const QString& value);

// Sets the album field each text row names (rows naming no album field change nothing). Rows of kind
// "Text" hold plain text, the others a track list. Stops at the first damaged row and returns false;
// the fields set before it stay.
bool EarlyTextRowsToAlbum(const TextRows& rows, LabelDesign& design);

} // namespace tvl
