#include "render/DrawTextItem.h"

#include "document/model/SurfaceNames.h"
#include "render/text/FontEngine.h"
#include "render/text/LayoutTextItem.h"
#include "render/text/RotateRect.h"

#include <QPainter>
#include <QPen>

namespace tvl {
namespace {

QColor ToQColor(ItemColor color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

} // namespace

QTransform MilsToDevice(int offsetX, int offsetY, QSize windowExtent, QSize viewportExtent)
{
    const double sx = windowExtent.width() != 0 ? double(viewportExtent.width()) / windowExtent.width() : 1.0;
    const double sy =
        windowExtent.height() != 0 ? double(viewportExtent.height()) / windowExtent.height() : 1.0;
    return QTransform::fromTranslate(offsetX, offsetY) * QTransform::fromScale(sx, sy);
}

QPoint GlyphAnchor(const EdgeRect& cell, int escapement)
{
    switch (escapement) {
    case 900:
        return {cell.right, cell.bottom};
    case 1800:
        return {cell.right, cell.top};
    case -900:
        return {cell.left, cell.top};
    default:
        return {cell.left, cell.bottom};
    }
}

QLine UnderlineLine(const EdgeRect& cell, int escapement)
{
    switch (escapement) {
    case 900:
        return {cell.left, cell.top, cell.left, cell.bottom};
    case 1800:
        return {cell.left, cell.bottom, cell.right, cell.bottom};
    case -900:
        return {cell.right, cell.top, cell.right, cell.bottom};
    default:
        return {cell.left, cell.top, cell.right, cell.top};
    }
}

int UnderlinePenWidth(int lineDescent)
{
    return static_cast<int>(lineDescent * 0.3);
}

void DrawTextItem(QPainter& painter, const CRichChild& item, const LabelDesign& design,
                  const QTransform& milsToDevice)
{
    if (!item.IsTextual())
        return;
    const CRichChild* surface = design.FindCover(item.surface);
    if (!surface)
        return;
    if (item.surface == kFrontCover && item.left() + item.width() <= surface->left())
        return;
    const std::shared_ptr<const ItemLayout> layout = LayoutTextItem(item, design);
    if (!layout)
        return;
    const size_t count = item.characters.size();
    if (item.fonts.size() != count || item.colors.size() != count || item.underlines.size() != count ||
        layout->lineCells.size() != count || layout->glyphCells.size() != count ||
        layout->underlines.size() != count)
        return;

    painter.save();
    painter.setWorldTransform(milsToDevice, true);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(QRect(item.left(), item.top(), item.width(), item.height()), Qt::IntersectClip);

    const int escapement = EscapementOfAngle(item.angle());
    const int dx = surface->left();
    const int dy = surface->top();
    FontEngine& engine = FontEngine::ForThisThread();
    ItemFont font{QStringLiteral("Arial"), 400, 400, 0};
    const FontFace* face = &engine.Face(font);
    QColor color(Qt::black);
    QPen underlinePen(Qt::NoPen);
    for (size_t i = 0; i < count; ++i) {
        if (item.fonts[i]) {
            font = *item.fonts[i];
            face = &engine.Face(font);
            if (layout->fittedHeight != 0)
                font.height = layout->fittedHeight;
        }
        if (item.colors[i])
            color = ToQColor(*item.colors[i]);
        const char32_t character = item.characters[i];
        EdgeRect cell = layout->glyphCells[i];
        if (character == kCellEnd || character == kLineBreak || cell.isEmpty())
            continue;
        cell.translate(dx, dy);
        painter.setPen(color);
        face->Draw(painter, character, font.height, escapement, GlyphAnchor(cell, escapement));
        if (layout->underlines[i] != 0) {
            const int width = UnderlinePenWidth(layout->underlines[i]);
            if (underlinePen.style() == Qt::NoPen || underlinePen.width() != width ||
                underlinePen.color() != color)
                underlinePen = QPen(color, width, Qt::SolidLine, Qt::FlatCap);
            painter.setPen(underlinePen);
            painter.drawLine(UnderlineLine(cell, escapement));
        }
    }
    painter.restore();
}

} // namespace tvl
