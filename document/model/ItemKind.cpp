#include "document/model/ItemKind.h"

#include <array>
#include <utility>

namespace tvl {
namespace {

constexpr std::array<std::pair<ItemKind, QStringView>, 7> kNames{{
    {ItemKind::None, u""},
    {ItemKind::Page, u"Page"},
    {ItemKind::Cover, u"Cover"},
    {ItemKind::Boundary, u"Boundary"},
    {ItemKind::Text, u"Text"},
    {ItemKind::Track, u"Track"},
    {ItemKind::Image, u"Image"},
}};

} // namespace

ItemKind ParseItemKind(QStringView name)
{
    for (const auto& [kind, text] : kNames) {
        if (text == name)
            return kind;
    }
    return ItemKind::Other;
}

QString ItemKindName(ItemKind kind)
{
    for (const auto& [known, text] : kNames) {
        if (known == kind)
            return text.toString();
    }
    return {};
}

} // namespace tvl
