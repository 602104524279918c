#pragma once

#include "document/model/CRichChild.h"

#include <vector>

namespace tvl {

// The characters of a text item with their sparse font and colour runs and underline words, as one value
// that edits are worked out on before the item takes it.
struct RichText
{
    std::vector<char32_t> characters;
    std::vector<std::optional<ItemFont>> fonts;
    std::vector<std::optional<ItemColor>> colors;
    std::vector<std::uint16_t> underlines;

    bool operator==(const RichText&) const = default;

    static RichText Of(const CRichChild& item)
    {
        return {item.characters, item.fonts, item.colors, item.underlines};
    }
    void StoreIn(CRichChild& item) const
    {
        item.characters = characters;
        item.fonts = fonts;
        item.colors = colors;
        item.underlines = underlines;
        item.MarkChanged();
    }
};

} // namespace tvl
