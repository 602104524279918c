#pragma once

#include "render/paint/PaintSheet.h"

#include <QString>
#include <vector>

class QPagedPaintDevice;

namespace tvl {

class LabelDesign;

// One sheet of a print job: the page code of the sheet and how its labels are drawn. The resolution and
// the physical offset are the device's.
struct PrintedSheet
{
    QString pageCode;
    SheetSpec spec;
};

// Paints the sheets onto a paged device (a printer, a PDF writer), one page each, through PaintSheet at
// the device's resolution, its page's printable area giving the physical offset. False when the device
// cannot be painted on or refuses a new page.
bool PrintSheets(QPagedPaintDevice& device, const LabelDesign& design,
                 const std::vector<PrintedSheet>& sheets);

} // namespace tvl
