#pragma once

#include "document/model/CRichChild.h"

#include <QString>
#include <optional>
#include <vector>

namespace tvl {

// The stored forms of an item's font and colour slots. Every field ends with the cell terminator.
// Fonts: per set slot "index, face, height, weight, italic". Colours: per set slot "index", then red,
// green and blue as three digits each.
QString FontsToString(const std::vector<std::optional<ItemFont>>& fonts);
QString ColorsToString(const std::vector<std::optional<ItemColor>>& colors);

// Fill the existing slots from a stored string; entries whose index is outside the slots are ignored
// and a string cut short keeps what was decoded before the cut.
void DecodeFonts(const QString& stored, std::vector<std::optional<ItemFont>>& fonts);
void DecodeColors(const QString& stored, std::vector<std::optional<ItemColor>>& colors);

} // namespace tvl
