#pragma once

#include <QString>
#include <QStringView>

namespace tvl {

// The kind of a label item. Files store it as its name ("Page", "Cover", "Boundary", "Text", "Track",
// "Image"); it is parsed once when an item is read. None is the empty name of a fresh item, Other any name
// this program does not know (kept as read so that it is written back unchanged).
enum class ItemKind
{
    None,
    Page,
    Cover,
    Boundary,
    Text,
    Track,
    Image,
    Other,
};

ItemKind ParseItemKind(QStringView name);
// The stored name of a known kind; empty for None and Other.
QString ItemKindName(ItemKind kind);

// Text blocks and track lists: the items with characters, fonts, colours and underlines.
inline bool IsTextual(ItemKind kind)
{
    return kind == ItemKind::Text || kind == ItemKind::Track;
}

// The items every design has: sheets, surfaces and their guide areas.
inline bool IsStructural(ItemKind kind)
{
    return kind == ItemKind::Cover || kind == ItemKind::Boundary || kind == ItemKind::Page;
}

// Surfaces and guide areas keep one colour slot: the colour of the area.
inline bool HasAreaColor(ItemKind kind)
{
    return kind == ItemKind::Cover || kind == ItemKind::Boundary;
}

} // namespace tvl
