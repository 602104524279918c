#pragma once

#include <QRect>
#include <QString>
#include <optional>

namespace tvl {

class DesignDocument;

// Which placement fields of an item an edit sets, in mils; the fields left out stay as they are.
struct GeometryChange
{
    std::optional<int> left;
    std::optional<int> top;
    std::optional<int> width;
    std::optional<int> height;

    static GeometryChange All(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }
    bool IsEmpty() const { return !left && !top && !width && !height; }
};

// Places an item, as one undo step. Text blocks, track lists and pictures take the given fields. A surface
// ("Cover") takes all four and carries its items along by the change of its left and top: on a case sheet
// its inside panel or tabs follow its height (the tabs stay as wide as the spine, the inside panel half the
// cover), and a disc also scales its items by the change of its width. Other items, unknown names and an
// empty change do nothing and record no step.
bool SetItemGeometry(DesignDocument& document, const QString& name, const GeometryChange& change);

// Exchanges the places of the two discs on the disc sheet with all their items, as one undo step: disc 1
// goes where disc 2 was. The disc position turns from top to bottom or back. False without both discs.
bool SwapDiscPositions(DesignDocument& document);

} // namespace tvl
