#include "app/paper/StockSheetImage.h"

#include "document/model/LabelDesign.h"
#include "render/paint/CoverSpec.h"
#include "render/paint/PaintSheet.h"
#include "stock/BuildSurfaceItems.h"
#include "stock/CLabelDim.h"

#include <QPainter>
#include <algorithm>

namespace tvl {
namespace {

constexpr int kFrame = 4;
const QColor kGround(0xd8, 0xd8, 0xd8);

} // namespace

QImage StockSheetImage(const CLabelDim& discStock, const CLabelDim& caseStock, QStringView pageCode,
                       QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kGround);
    const QSize sheet = pageCode == u"1"   ? discStock.paper1
                        : pageCode == u"2" ? caseStock.paper1
                                           : caseStock.paper2;
    const QSize room = size - QSize(2 * kFrame, 2 * kFrame);
    if (sheet.width() <= 0 || sheet.height() <= 0 || room.isEmpty())
        return image;

    // Both axes share one resolution so that discs stay round.
    const double dpi =
        std::min(room.width() * 1000.0 / sheet.width(), room.height() * 1000.0 / sheet.height());
    const QSize shown(static_cast<int>(sheet.width() * dpi / 1000),
                      static_cast<int>(sheet.height() * dpi / 1000));
    const QPoint origin((size.width() - shown.width()) / 2, (size.height() - shown.height()) / 2);

    LabelDesign design;
    design.ReplaceItems(BuildSurfaceItems(discStock, caseStock, u"Double", DiscPositionMode::DiscOnTop));

    SheetSpec spec;
    spec.dpiX = dpi;
    spec.dpiY = dpi;
    spec.sheet = sheet;
    spec.preview = true;
    spec.doubleDisc = !discStock.IsDirectToDisc();
    spec.printable = {0, 0, sheet.width(), sheet.height()};
    for (SheetSpec::Label& label : spec.labels)
        label.borderMode = BorderOutlineAndFolds;

    QPainter painter(&image);
    painter.fillRect(QRect(origin, shown), Qt::white);
    painter.translate(origin);
    PaintSheet(painter, design, pageCode, spec);
    return image;
}

} // namespace tvl
