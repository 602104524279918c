#pragma once

#include <QString>

namespace tvl {

// The font of one run of characters. The character set is always the default one and every other
// attribute is zero, so these four fields are the whole font.
struct ItemFont
{
    static constexpr int kMaxFaceLength = 31;
    static constexpr int kMinHeight = 25;
    static constexpr int kMaxHeight = 5000;

    QString faceName;
    int height = 0; // tenths of a point; 400 is 40 pt
    int weight = 400;
    int italic = 0;

    bool operator==(const ItemFont&) const = default;

    // A size typed or chosen by the user (points) as a stored height: ×10, rounded up to a multiple
    // of 5, kept within 25 … 5000.
    static int HeightFromPoints(double points);
};

} // namespace tvl
