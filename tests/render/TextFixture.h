#pragma once

#include "document/model/LabelDesign.h"
#include "render/text/ItemLayout.h"

#include <QString>

namespace tvl::test {

// A design with the surfaces text is laid out on: "Disc 1" (4625 across, hub 1600, margin 50, at
// 200, 300 on the disc sheet), "Front Cover" (4750 square at 500, 500) and "Back Cover" (5900 × 4625).
LabelDesign MakeDesign();

struct TextSpec
{
    ItemKind kind = ItemKind::Text;
    QString surface = QStringLiteral("Front Cover");
    int left = 0; // relative to the surface
    int top = 0;
    int width = 3000;
    int height = 1000;
    QString text;
    int fontHeight = 120;
    QString wrapStyle = QStringLiteral("Multi-Line");
    QString alignment = QStringLiteral("Left");
    QString angle = QStringLiteral("0 degrees");
    bool autoFit = false;
    QString trackNumbers = QStringLiteral("Track Numbers && Times");
    QString textLayout = QStringLiteral("Table Format");
};

// Adds a text or track item in Liberation Sans (face "Arial") and returns it.
CRichChild& AddItem(LabelDesign& design, const TextSpec& spec);

// The layout of an item (laid out on demand); fails the test when it cannot be laid out.
const ItemLayout& LayOut(CRichChild& item, const LabelDesign& design);

// A track list text "1. \bTrack 1\b 0:01\b…" of n tracks.
QString TrackText(int count);

// Index of the first character of text `needle` in the item.
size_t IndexOf(const CRichChild& item, QStringView needle, size_t from = 0);

} // namespace tvl::test
