#include "print/page/PrintSheets.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace tvl {

bool PrintSheets(QPagedPaintDevice& device, const LabelDesign& design,
                 const std::vector<PrintedSheet>& sheets)
{
    if (sheets.empty())
        return true;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    const QPoint physicalOffset = device.pageLayout().paintRectPixels(dpiX).topLeft();
    for (size_t i = 0; i < sheets.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        SheetSpec spec = sheets[i].spec;
        spec.dpiX = dpiX;
        spec.dpiY = dpiY;
        spec.physicalOffset = physicalOffset;
        PaintSheet(painter, design, sheets[i].pageCode, spec);
    }
    return painter.end();
}

} // namespace tvl
