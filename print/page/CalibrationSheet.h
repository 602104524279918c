#pragma once

#include <QLine>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <Qt>
#include <vector>

class QFont;
class QPainter;

namespace tvl {

// One text of the calibration sheet: anchored at a point of the sheet (mils), aligned to it in the
// text's own frame (which on a landscape sheet runs upward, so that it reads along the printer's
// horizontal).
struct CalibrationText
{
    QString text;
    QPointF at;
    Qt::Alignment alignment; // Left, Right or HCenter with Top, Bottom or VCenter
    double points = 8;
    int weight = 400;
};

// Everything drawn on the calibration sheet, in sheet mils.
struct CalibrationSheetLayout
{
    bool landscape = false;
    std::vector<QRect> cleared;
    std::vector<QLine> lines; // the crosshair, then the ticks of both scales
    std::vector<CalibrationText> texts;
};

// The sheet's marks for a paper of that size (mils). printableTop and printableLeft (mils) are the
// first line and column the printer reaches; titleHeight is the height of a 15 point line and pitch
// the height of a 9 point line, both in mils.
CalibrationSheetLayout LayOutCalibrationSheet(QSize paper, QPointF printableTopLeft, double titleHeight,
                                              double pitch);

// Paints the sheet in the interface font's face. The painter maps sheet mils to the device; pen, brush
// and font are as before afterwards.
void PaintCalibrationSheet(QPainter& painter, QSize paper, QPointF printableTopLeft, const QFont& face);

} // namespace tvl
