#pragma once

#include "document/model/DiscPlacement.h"

#include <QSize>
#include <QString>

namespace tvl {

class LabelDesign;

// What the label view shows besides the geometry: the design, its live mode, the disc placement and the
// editing aids that are switched on.
struct SceneState
{
    const LabelDesign* design = nullptr;
    QString discMode = QStringLiteral("Single");
    QString caseKind = QStringLiteral("Jewel");
    DiscPositionMode discPositionMode = DiscPositionMode::DiscOnTop;
    bool guidesOn = false;
    bool showGrid = false;
    QSize gridStep{100, 100};
    bool selectionMarksOn = false;
    QString selectedItem;

    bool IsDouble() const { return discMode == u"Double"; }
};

} // namespace tvl
