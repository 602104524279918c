#include "print/page/CalibrationSheet.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <array>

namespace tvl {
namespace {

constexpr int kUnit = 25; // one calibration unit, 1/40 inch
constexpr int kScaleHalf = 1000;
constexpr int kCrossHalf = 1500;

constexpr std::array<const char*, 13> kInstructions{
    "",
    "To calibrate the printer, a horizontal and vertical crosshair have been printed exactly where the "
    "center "
    "of the",
    "page should be. By determining how far the crosshairs are from the center, the printer can be adjusted.",
    "",
    "1. Carefully fold this sheet in half vertically.",
    "2. Unfold the paper and note the position where the fold crosses the horizontal printed scale. This is "
    "the horizontal offset.",
    "3. Carefully fold this sheet in half horizontally.",
    "4. Unfold the paper and note the position where the fold crosses the vertical printed scale. This is "
    "the "
    "vertical offset.",
    "5. Enter the horizontal and vertical offset values in the 'Printer Calibration' dialog box that was "
    "used "
    "to print this sheet.",
    "6. Repeat this process until the crosshairs line up with the folds.",
    "",
    "*** Please Note: The horizontal and vertical offsets may be a negative number. Also, the paper often "
    "feeds into the printer",
    "slightly differently each time, so perfect calibration may not be possible.",
};

// Font sizes are in points; the sheet is drawn in mils.
double PointsToMils(double points)
{
    return points * 1000.0 / 72.0;
}

QFont SheetFont(const QFont& face, double points, int weight)
{
    QFont font(face);
    font.setPixelSize(qRound(PointsToMils(points)));
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

void Add(CalibrationSheetLayout& layout, const QString& text, QPointF at, Qt::Alignment alignment,
         double points, int weight = 400)
{
    layout.texts.push_back({text, at, alignment, points, weight});
}

} // namespace

CalibrationSheetLayout LayOutCalibrationSheet(QSize paper, QPointF printableTopLeft, double titleHeight,
                                              double pitch)
{
    const int w = paper.width();
    const int h = paper.height();
    const int cx = w / 2;
    const int cy = h / 2;
    CalibrationSheetLayout layout;
    layout.landscape = h < w;
    const bool landscape = layout.landscape;

    if (landscape)
        Add(layout, QStringLiteral("^ ^ ^ Top ^ ^ ^"), {printableTopLeft.x(), double(cy)},
            Qt::AlignHCenter | Qt::AlignTop, 14, 500);
    else
        Add(layout, QStringLiteral("^ ^ ^ Top ^ ^ ^"), {double(cx), printableTopLeft.y()},
            Qt::AlignHCenter | Qt::AlignTop, 14, 500);

    layout.cleared = {QRect(cx - 250, cy - kCrossHalf, 500, 2 * kCrossHalf),
                      QRect(cx - kCrossHalf, cy - 250, 2 * kCrossHalf, 500)};
    layout.lines = {QLine(cx - kCrossHalf, cy, cx + kCrossHalf, cy),
                    QLine(cx, cy - kCrossHalf, cx, cy + kCrossHalf)};

    // Horizontal scale: -40 at the left, 40 at the right.
    for (int x = cx - kScaleHalf; x <= cx + kScaleHalf; x += kUnit) {
        const int step = x - cx + kScaleHalf;
        const int reach = step % 125 == 0 ? 50 : 25;
        layout.lines.emplace_back(x, cy - reach, x, cy + reach);
        const int value = (x - cx) / kUnit;
        if (step % 250 != 0 || value == 0)
            continue;
        const QString label = QString::number(value);
        if (landscape)
            Add(layout, label, {double(x), double(value < 0 ? cy + 50 : cy - 50)},
                (value < 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, 8);
        else
            Add(layout, label, {double(x), double(value < 0 ? cy + 50 : cy - 50)},
                Qt::AlignHCenter | (value < 0 ? Qt::AlignTop : Qt::AlignBottom), 8);
    }
    // Vertical scale: portrait -40 at the top; landscape 40 at the top, as the printer sees it.
    for (int y = cy - kScaleHalf; y <= cy + kScaleHalf; y += kUnit) {
        const int step = y - cy + kScaleHalf;
        const int reach = step % 125 == 0 ? 50 : 25;
        layout.lines.emplace_back(cx - reach, y, cx + reach, y);
        const int value = (landscape ? cy - y : y - cy) / kUnit;
        if (step % 250 != 0 || value == 0)
            continue;
        const QString label = QString::number(value);
        if (landscape)
            Add(layout, label, {double(value < 0 ? cx + 50 : cx - 50), double(y)},
                Qt::AlignHCenter | (value < 0 ? Qt::AlignTop : Qt::AlignBottom), 8);
        else
            Add(layout, label, {double(value < 0 ? cx - 50 : cx + 60), double(y)},
                (value < 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, 8);
    }

    const QString horizontal = QStringLiteral("Horizontal");
    const QString vertical = QStringLiteral("Vertical");
    if (landscape) {
        Add(layout, horizontal, {double(cx), double(cy - kCrossHalf)}, Qt::AlignLeft | Qt::AlignVCenter, 8);
        Add(layout, horizontal, {double(cx), double(cy + kCrossHalf)}, Qt::AlignRight | Qt::AlignVCenter, 8);
        Add(layout, vertical, {double(cx - kCrossHalf), double(cy)}, Qt::AlignHCenter | Qt::AlignBottom, 8);
        Add(layout, vertical, {double(cx + kCrossHalf), double(cy)}, Qt::AlignHCenter | Qt::AlignTop, 8);
    } else {
        Add(layout, horizontal, {double(cx - 1505), double(cy)}, Qt::AlignRight | Qt::AlignVCenter, 8);
        Add(layout, horizontal, {double(cx + 1505), double(cy)}, Qt::AlignLeft | Qt::AlignVCenter, 8);
        Add(layout, vertical, {double(cx), double(cy - 1505)}, Qt::AlignHCenter | Qt::AlignBottom, 8);
        Add(layout, vertical, {double(cx), double(cy + kCrossHalf)}, Qt::AlignHCenter | Qt::AlignTop, 8);
    }

    const Qt::Alignment topLeft = Qt::AlignLeft | Qt::AlignTop;
    const QPointF title = landscape ? QPointF(1000, h - 1000) : QPointF(1000, 1000);
    Add(layout, QStringLiteral("Tovrelline Printer Calibration"), title, topLeft, 15);
    // Each line one pitch further from the title, across the printer's lines.
    const QPointF step = landscape ? QPointF(pitch, 0) : QPointF(0, pitch);
    QPointF line = title + (landscape ? QPointF(titleHeight, 0) : QPointF(0, titleHeight));
    for (const char* text : kInstructions) {
        Add(layout, QString::fromLatin1(text), line, topLeft, 9);
        line += step;
    }
    return layout;
}

void PaintCalibrationSheet(QPainter& painter, QSize paper, QPointF printableTopLeft, const QFont& face)
{
    const double titleHeight = QFontMetricsF(SheetFont(face, 15, 400)).height();
    const double pitch = QFontMetricsF(SheetFont(face, 9, 400)).height();
    const CalibrationSheetLayout layout = LayOutCalibrationSheet(paper, printableTopLeft, titleHeight, pitch);

    painter.save();
    for (const QRect& r : layout.cleared)
        painter.fillRect(r, Qt::white);
    QPen pen(Qt::black);
    pen.setWidth(4);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawLines(layout.lines.data(), static_cast<int>(layout.lines.size()));
    for (const CalibrationText& text : layout.texts) {
        if (text.text.isEmpty())
            continue;
        const QFont font = SheetFont(face, text.points, text.weight);
        painter.setFont(font);
        const QFontMetricsF metrics(font);
        const double width = metrics.horizontalAdvance(text.text);
        const double height = metrics.height();
        double x = 0;
        if (text.alignment.testFlag(Qt::AlignRight))
            x = -width;
        else if (text.alignment.testFlag(Qt::AlignHCenter))
            x = -width / 2;
        double y = 0;
        if (text.alignment.testFlag(Qt::AlignBottom))
            y = -height;
        else if (text.alignment.testFlag(Qt::AlignVCenter))
            y = -height / 2;
        painter.save();
        painter.translate(text.at);
        if (layout.landscape)
            painter.rotate(-90);
        painter.drawText(QPointF(x, y + metrics.ascent()), text.text);
        painter.restore();
    }
    painter.restore();
}

} // namespace tvl
