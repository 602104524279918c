#include "images/metafile/GdiPlayer.h"

#include "images/CxImage.h"
#include "images/codecs/ByteReader.h"
#include "images/codecs/DibCodec.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace tvl {

namespace {

// Bounds on what a hostile file can make us keep.
constexpr qsizetype maxObjects = 65535;
constexpr qsizetype maxSavedStates = 1024;

constexpr quint32 TA_UPDATECP = 1;
constexpr quint32 TA_RIGHT = 2;
constexpr quint32 TA_CENTER = 6;
constexpr quint32 TA_BOTTOM = 8;
constexpr quint32 TA_BASELINE = 24;

constexpr quint32 SRCAND = 0x008800c6;
constexpr quint32 SRCPAINT = 0x00ee0086;

double unitsPerMm(int mode)
{
    switch (mode) {
    case GdiPlayer::MM_LOMETRIC:
        return 10.0;
    case GdiPlayer::MM_HIMETRIC:
        return 100.0;
    case GdiPlayer::MM_LOENGLISH:
        return 100.0 / 25.4;
    case GdiPlayer::MM_HIENGLISH:
        return 1000.0 / 25.4;
    case GdiPlayer::MM_TWIPS:
        return 1440.0 / 25.4;
    default:
        return 0;
    }
}

double ratio(double num, double den)
{
    return den == 0 || !std::isfinite(num / den) ? 1.0 : num / den;
}

GdiObject stockObject(quint32 id)
{
    GdiObject object;
    const auto brush = [&](QBrush b) {
        object.kind = GdiObject::Kind::Brush;
        object.brush = b;
    };
    const auto pen = [&](QPen p) {
        object.kind = GdiObject::Kind::Pen;
        object.pen = p;
    };
    switch (id) {
    case 0:
        brush(QBrush(Qt::white));
        break;
    case 1:
        brush(QBrush(QColor(0xc0, 0xc0, 0xc0)));
        break;
    case 2:
        brush(QBrush(QColor(0x80, 0x80, 0x80)));
        break;
    case 3:
        brush(QBrush(QColor(0x40, 0x40, 0x40)));
        break;
    case 4:
    case 18:
        brush(QBrush(Qt::black));
        break;
    case 5:
        brush(QBrush(Qt::NoBrush));
        break;
    case 6:
        pen(QPen(Qt::white, 0));
        break;
    case 7:
    case 19:
        pen(QPen(Qt::black, 0));
        break;
    case 8:
        pen(QPen(Qt::NoPen));
        break;
    default:
        object.kind = GdiObject::Kind::Font;
        object.fontHeight = -12;
        break;
    }
    return object;
}

double angleOf(QPointF centre, QSizeF radii, QPointF p)
{
    const double dx = (p.x() - centre.x()) / (radii.width() == 0 ? 1 : radii.width());
    const double dy = (p.y() - centre.y()) / (radii.height() == 0 ? 1 : radii.height());
    return std::atan2(-dy, dx) * 180.0 / M_PI;
}

// Pixels of the key colour become transparent, so that a masking raster operation leaves the canvas alone.
QImage keyedOut(const QImage& source, QRgb key)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0x00ffffffu) == key)
                row[x] = 0;
        }
    }
    return image;
}

} // namespace

GdiObject GdiObject::makePen(quint32 style, double width, QColor color)
{
    static constexpr Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                              Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    const quint32 index = style & 0x0f;
    QPen pen(color);
    pen.setStyle(index < 7 ? styles[index] : Qt::SolidLine);
    static constexpr Qt::PenCapStyle caps[] = {Qt::RoundCap, Qt::SquareCap, Qt::FlatCap};
    static constexpr Qt::PenJoinStyle joins[] = {Qt::RoundJoin, Qt::BevelJoin, Qt::MiterJoin};
    const quint32 cap = (style >> 8) & 0x0f;
    const quint32 join = (style >> 12) & 0x0f;
    pen.setCapStyle(cap < 3 ? caps[cap] : Qt::RoundCap);
    pen.setJoinStyle(join < 3 ? joins[join] : Qt::RoundJoin);
    GdiObject object;
    object.kind = Kind::Pen;
    object.pen = pen;
    object.penWidth = width;
    return object;
}

GdiObject GdiObject::makeBrush(quint32 style, QColor color, quint32 hatch)
{
    static constexpr Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    GdiObject object;
    object.kind = Kind::Brush;
    switch (style) {
    case 0:
        object.brush = QBrush(color);
        break;
    case 1:
        object.brush = QBrush(Qt::NoBrush);
        break;
    case 2:
        object.brush = QBrush(color, hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
        break;
    default:
        object.brush = QBrush(Qt::gray);
        break;
    }
    return object;
}

GdiPlayer::GdiPlayer(QPainter& painter, const QTransform& deviceToImage, QSizeF devicePixelsPerMm,
                     bool drawText)
    : m_painter(painter)
    , m_deviceToImage(deviceToImage)
    , m_pixelsPerMm(devicePixelsPerMm)
    , m_drawText(drawText)
{
    m_state.pen = stockObject(7);
    m_state.brush = stockObject(0);
    m_state.font = stockObject(13);
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    apply();
}

QTransform GdiPlayer::logicalToImage() const
{
    const State& s = m_state;
    double sx = 1;
    double sy = 1;
    if (s.mapMode == MM_ISOTROPIC || s.mapMode == MM_ANISOTROPIC) {
        sx = ratio(s.viewportExt.width(), s.windowExt.width());
        sy = ratio(s.viewportExt.height(), s.windowExt.height());
        if (s.mapMode == MM_ISOTROPIC) {
            const double uniform = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(uniform, sx);
            sy = std::copysign(uniform, sy);
        }
    } else if (const double units = unitsPerMm(s.mapMode); units > 0) {
        sx = m_pixelsPerMm.width() / units;
        sy = -m_pixelsPerMm.height() / units;
    }
    const QTransform page(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx,
                          s.viewportOrg.y() - s.windowOrg.y() * sy);
    return s.world * page * m_deviceToImage;
}

void GdiPlayer::apply()
{
    m_painter.resetTransform();
    if (m_state.clipped)
        m_painter.setClipPath(m_state.clip);
    else
        m_painter.setClipping(false);
    m_painter.setWorldTransform(logicalToImage());
}

void GdiPlayer::setMapMode(int mode)
{
    m_state.mapMode = mode >= MM_TEXT && mode <= MM_ANISOTROPIC ? mode : MM_TEXT;
    apply();
}

void GdiPlayer::setWindowOrg(QPointF org)
{
    m_state.windowOrg = org;
    apply();
}

void GdiPlayer::setWindowExt(QSizeF ext)
{
    m_state.windowExt = ext;
    apply();
}

void GdiPlayer::setViewportOrg(QPointF org)
{
    m_state.viewportOrg = org;
    apply();
}

void GdiPlayer::setViewportExt(QSizeF ext)
{
    m_state.viewportExt = ext;
    apply();
}

void GdiPlayer::offsetWindowOrg(QPointF delta)
{
    setWindowOrg(m_state.windowOrg + delta);
}

void GdiPlayer::offsetViewportOrg(QPointF delta)
{
    setViewportOrg(m_state.viewportOrg + delta);
}

void GdiPlayer::scaleWindowExt(double xNum, double xDen, double yNum, double yDen)
{
    setWindowExt(QSizeF(m_state.windowExt.width() * ratio(xNum, xDen),
                        m_state.windowExt.height() * ratio(yNum, yDen)));
}

void GdiPlayer::scaleViewportExt(double xNum, double xDen, double yNum, double yDen)
{
    setViewportExt(QSizeF(m_state.viewportExt.width() * ratio(xNum, xDen),
                          m_state.viewportExt.height() * ratio(yNum, yDen)));
}

void GdiPlayer::setWorldTransform(const QTransform& transform)
{
    if (transform.isInvertible())
        m_state.world = transform;
    apply();
}

void GdiPlayer::modifyWorldTransform(const QTransform& transform, int mode)
{
    switch (mode) {
    case 1:
        m_state.world = QTransform();
        break;
    case 2:
        setWorldTransform(transform * m_state.world);
        return;
    case 3:
        setWorldTransform(m_state.world * transform);
        return;
    case 4:
        setWorldTransform(transform);
        return;
    default:
        break;
    }
    apply();
}

void GdiPlayer::createObject(const GdiObject& object)
{
    for (GdiObject& slot : m_objects) {
        if (slot.kind == GdiObject::Kind::Empty) {
            slot = object;
            return;
        }
    }
    if (m_objects.size() < maxObjects)
        m_objects.append(object);
}

void GdiPlayer::createObjectAt(quint32 index, const GdiObject& object)
{
    if (index >= quint32(maxObjects))
        return;
    if (qsizetype(index) >= m_objects.size())
        m_objects.resize(qsizetype(index) + 1);
    m_objects[qsizetype(index)] = object;
}

void GdiPlayer::selectObject(quint32 index)
{
    if (index & 0x80000000u) {
        selectStockObject(index & 0x7fffffffu);
        return;
    }
    if (qsizetype(index) >= m_objects.size())
        return;
    const GdiObject& object = m_objects[qsizetype(index)];
    switch (object.kind) {
    case GdiObject::Kind::Pen:
        m_state.pen = object;
        break;
    case GdiObject::Kind::Brush:
        m_state.brush = object;
        break;
    case GdiObject::Kind::Font:
        m_state.font = object;
        break;
    default:
        break;
    }
}

void GdiPlayer::selectStockObject(quint32 id)
{
    const GdiObject object = stockObject(id);
    if (object.kind == GdiObject::Kind::Pen)
        m_state.pen = object;
    else if (object.kind == GdiObject::Kind::Brush)
        m_state.brush = object;
    else
        m_state.font = object;
}

void GdiPlayer::deleteObject(quint32 index)
{
    if (qsizetype(index) < m_objects.size())
        m_objects[qsizetype(index)] = GdiObject();
}

void GdiPlayer::save()
{
    if (m_saved.size() < maxSavedStates)
        m_saved.append(m_state);
}

void GdiPlayer::restore(int which)
{
    if (m_saved.isEmpty())
        return;
    qsizetype keep = which < 0 ? m_saved.size() + which : qsizetype(which) - 1;
    keep = std::clamp<qsizetype>(keep, 0, m_saved.size() - 1);
    m_state = m_saved[keep];
    m_saved.resize(keep);
    apply();
}

QPen GdiPlayer::devicePen() const
{
    if (m_state.pen.kind != GdiObject::Kind::Pen)
        return QPen(Qt::black, 0);
    QPen pen = m_state.pen.pen;
    const QTransform t = logicalToImage();
    const double scale = std::sqrt(std::abs(t.determinant()));
    // GDI never draws a line thinner than one pixel.
    pen.setWidthF(m_state.pen.penWidth * scale < 1.0 ? 0.0 : m_state.pen.penWidth);
    return pen;
}

void GdiPlayer::fillAndStroke(const QPainterPath& shape, bool fill, bool stroke)
{
    QPainterPath path = shape;
    path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    const QBrush& brush = m_state.brush.brush;
    if (fill && m_state.brush.kind == GdiObject::Kind::Brush && brush.style() != Qt::NoBrush) {
        if (m_state.bkOpaque && brush.style() >= Qt::HorPattern && brush.style() <= Qt::DiagCrossPattern)
            m_painter.fillPath(path, m_state.bkColor);
        m_painter.fillPath(path, brush);
    }
    const QPen pen = devicePen();
    if (stroke && pen.style() != Qt::NoPen)
        m_painter.strokePath(path, pen);
}

void GdiPlayer::draw(const QPainterPath& shape, bool closed)
{
    if (m_inPath)
        addToPath(shape, closed);
    else
        fillAndStroke(shape, closed);
}

void GdiPlayer::addToPath(const QPainterPath& shape, bool closed)
{
    m_path.addPath(shape);
    if (closed)
        m_path.closeSubpath();
}

void GdiPlayer::moveTo(QPointF p)
{
    m_state.position = p;
    if (m_inPath)
        m_path.moveTo(p);
}

void GdiPlayer::lineTo(QPointF p)
{
    if (m_inPath) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(m_state.position);
        m_path.lineTo(p);
    } else {
        QPainterPath line(m_state.position);
        line.lineTo(p);
        fillAndStroke(line, false);
    }
    m_state.position = p;
}

void GdiPlayer::polyline(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    draw(path, false);
}

void GdiPlayer::polylineTo(const QPolygonF& points)
{
    for (const QPointF& p : points)
        lineTo(p);
}

void GdiPlayer::polygon(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    draw(path, true);
}

void GdiPlayer::polyPolygon(const QList<QPolygonF>& polygons)
{
    QPainterPath path;
    for (const QPolygonF& points : polygons) {
        path.addPolygon(points);
        path.closeSubpath();
    }
    draw(path, true);
}

void GdiPlayer::polyBezier(const QPolygonF& points, bool fromCurrent)
{
    QPainterPath path;
    qsizetype i = 0;
    if (fromCurrent) {
        path.moveTo(m_state.position);
    } else {
        if (points.isEmpty())
            return;
        path.moveTo(points[0]);
        i = 1;
    }
    for (; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    m_state.position = path.currentPosition();
    if (m_inPath) {
        if (fromCurrent && m_path.elementCount() > 0)
            m_path.connectPath(path);
        else
            addToPath(path, false);
    } else {
        fillAndStroke(path, false);
    }
}

void GdiPlayer::rectangle(const QRectF& rect)
{
    QPainterPath path;
    path.addRect(rect.normalized());
    draw(path, true);
}

void GdiPlayer::patternFill(const QRectF& rect, quint32 rop)
{
    if (rop != PATCOPY && rop != BLACKNESS && rop != WHITENESS)
        return;
    save();
    if (rop != PATCOPY)
        selectStockObject(rop == BLACKNESS ? 4 : 0);
    selectStockObject(8);
    rectangle(rect);
    restore(-1);
}

void GdiPlayer::roundRect(const QRectF& rect, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    draw(path, true);
}

void GdiPlayer::ellipse(const QRectF& rect)
{
    QPainterPath path;
    path.addEllipse(rect.normalized());
    draw(path, true);
}

QPainterPath GdiPlayer::arcPath(const QRectF& box, QPointF start, QPointF end, ArcKind kind) const
{
    const QRectF rect = box.normalized();
    const QPointF centre = rect.center();
    const QSizeF radii(rect.width() / 2, rect.height() / 2);
    const double from = angleOf(centre, radii, start);
    double sweep = angleOf(centre, radii, end) - from;
    while (sweep <= 0)
        sweep += 360;
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(centre);
        path.arcTo(rect, from, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(rect, from);
        path.arcTo(rect, from, sweep);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    return path;
}

void GdiPlayer::arc(const QRectF& rect, QPointF start, QPointF end, ArcKind kind)
{
    const QPainterPath path = arcPath(rect, start, end, kind);
    draw(path, kind != ArcKind::Arc);
}

void GdiPlayer::setPixel(QPointF p, QColor color)
{
    m_painter.fillRect(QRectF(p, QSizeF(1, 1)), color);
}

void GdiPlayer::text(QPointF p, const QString& text, const QList<double>& advances)
{
    if (!m_drawText || text.isEmpty())
        return;
    const QTransform t = logicalToImage();
    const double xScale = std::hypot(t.m11(), t.m12());
    const double yScale = std::hypot(t.m21(), t.m22());
    const GdiObject& font = m_state.font;
    // A positive height includes the internal leading, roughly a sixth of the cell.
    double em = font.fontHeight < 0 ? -font.fontHeight : font.fontHeight * 0.85;
    if (em == 0)
        em = 12;
    const double pixels = em * yScale;
    if (!(pixels >= 1 && pixels < 10000))
        return;
    QFont qfont(font.fontFace.isEmpty() ? QStringLiteral("Liberation Sans") : font.fontFace);
    qfont.setPixelSize(std::max(1, int(std::lround(pixels))));
    qfont.setWeight(
        static_cast<QFont::Weight>(std::clamp(font.fontWeight == 0 ? 400 : font.fontWeight, 100, 900)));
    qfont.setItalic(font.fontItalic);
    qfont.setUnderline(font.fontUnderline);
    qfont.setStrikeOut(font.fontStrikeOut);
    const QFontMetricsF metrics(qfont);

    const bool updateCp = m_state.textAlign & TA_UPDATECP;
    const QPointF origin = updateCp ? m_state.position : p;
    double width = 0;
    if (!advances.isEmpty()) {
        for (double a : advances)
            width += a * xScale;
    } else {
        width = metrics.horizontalAdvance(text);
    }
    double x = 0;
    if ((m_state.textAlign & TA_CENTER) == TA_CENTER)
        x = -width / 2;
    else if (m_state.textAlign & TA_RIGHT)
        x = -width;
    double baseline = metrics.ascent();
    if ((m_state.textAlign & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (m_state.textAlign & TA_BOTTOM)
        baseline = -metrics.descent();

    m_painter.save();
    m_painter.resetTransform();
    m_painter.translate(t.map(origin));
    m_painter.rotate(-font.escapement / 10.0);
    if (m_state.bkOpaque)
        m_painter.fillRect(QRectF(x, baseline - metrics.ascent(), width, metrics.height()), m_state.bkColor);
    m_painter.setPen(m_state.textColor);
    m_painter.setFont(qfont);
    if (advances.isEmpty()) {
        m_painter.drawText(QPointF(x, baseline), text);
    } else {
        double at = x;
        for (qsizetype i = 0; i < text.size(); ++i) {
            m_painter.drawText(QPointF(at, baseline), text.mid(i, 1));
            at += (i < advances.size() ? advances[i] : 0) * xScale;
        }
    }
    m_painter.restore();
    if (updateCp && xScale > 0)
        m_state.position.rx() += width / xScale;
}

void GdiPlayer::image(const QRectF& dest, const QImage& source, const QRectF& sourceRect, quint32 rop)
{
    if (source.isNull() || dest.normalized().isEmpty())
        return;
    QImage picture = source;
    if (rop == SRCAND)
        picture = keyedOut(source, 0x00ffffffu);
    else if (rop == SRCPAINT)
        picture = keyedOut(source, 0);
    const bool mirrorX = dest.width() < 0;
    const bool mirrorY = dest.height() < 0;
    QRectF from = sourceRect;
    if (mirrorX || mirrorY) {
        picture = picture.copy(sourceRect.toAlignedRect()).mirrored(mirrorX, mirrorY);
        from = QRectF(QPointF(0, 0), picture.size());
    }
    // GDI stretches by repeating pixels; smoothing only helps where the picture shrinks.
    const QRectF target = dest.normalized();
    const QRectF onImage = m_painter.worldTransform().mapRect(target);
    const bool enlarging = onImage.width() > from.width() || onImage.height() > from.height();
    m_painter.save();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, !enlarging);
    m_painter.drawImage(target, picture, from);
    m_painter.restore();
}

QImage GdiPlayer::decodeDib(QByteArrayView dib, qsizetype bitsOffset)
{
    ByteReader in(dib);
    const quint32 headerSize = in.u32();
    const qint64 width = headerSize == 12 ? in.u16() : in.s32();
    const qint64 height = headerSize == 12 ? in.u16() : in.s32();
    const qint64 pixels = std::abs(width) * std::abs(height);
    if (in.failed() || pixels > m_bitmapPixelsLeft)
        return QImage();
    m_bitmapPixelsLeft -= pixels;
    CxImage image;
    QString ignored;
    if (!DibCodec::decode(dib, bitsOffset, DibCodec::Layout::Plain, image, ignored))
        return QImage();
    return image.ToBitmap();
}

void GdiPlayer::intersectClip(const QRectF& rect)
{
    QPainterPath area;
    area.addPolygon(logicalToImage().map(QPolygonF(rect.normalized())));
    m_state.clip = m_state.clipped ? m_state.clip.intersected(area) : area;
    m_state.clipped = true;
    apply();
}

void GdiPlayer::excludeClip(const QRectF& rect)
{
    QPainterPath area;
    area.addPolygon(logicalToImage().map(QPolygonF(rect.normalized())));
    if (!m_state.clipped) {
        m_state.clip = QPainterPath();
        m_state.clip.addRect(QRectF(0, 0, m_painter.device()->width(), m_painter.device()->height()));
        m_state.clipped = true;
    }
    m_state.clip = m_state.clip.subtracted(area);
    apply();
}

void GdiPlayer::resetClip()
{
    m_state.clipped = false;
    m_state.clip = QPainterPath();
    apply();
}

void GdiPlayer::combineClip(const QPainterPath& area, int mode)
{
    QPainterPath current = m_state.clip;
    if (!m_state.clipped) {
        current = QPainterPath();
        current.addRect(QRectF(0, 0, m_painter.device()->width(), m_painter.device()->height()));
    }
    switch (mode) {
    case 1:
        m_state.clip = current.intersected(area);
        break;
    case 2:
        m_state.clip = current.united(area);
        break;
    case 3:
        m_state.clip = current.united(area).subtracted(current.intersected(area));
        break;
    case 4:
        m_state.clip = current.subtracted(area);
        break;
    case 5:
        m_state.clip = area;
        break;
    default:
        return;
    }
    m_state.clipped = true;
    apply();
}

void GdiPlayer::selectClipPath(int mode)
{
    QPainterPath path = m_path;
    path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    combineClip(logicalToImage().map(path), mode);
    m_path = QPainterPath();
    m_inPath = false;
}

void GdiPlayer::selectClipRegion(const QList<QRectF>& deviceRects, int mode)
{
    QPainterPath area;
    for (const QRectF& rect : deviceRects)
        area.addPolygon(m_deviceToImage.map(QPolygonF(rect.normalized())));
    area = area.simplified();
    combineClip(area, mode);
}

void GdiPlayer::beginPath()
{
    m_inPath = true;
    m_path = QPainterPath();
}

void GdiPlayer::endPath()
{
    m_inPath = false;
}

void GdiPlayer::abortPath()
{
    m_inPath = false;
    m_path = QPainterPath();
}

void GdiPlayer::closeFigure()
{
    m_path.closeSubpath();
}

void GdiPlayer::fillPath()
{
    fillAndStroke(m_path, true, false);
    m_path = QPainterPath();
}

void GdiPlayer::strokePath()
{
    fillAndStroke(m_path, false);
    m_path = QPainterPath();
}

void GdiPlayer::strokeAndFillPath()
{
    fillAndStroke(m_path, true);
    m_path = QPainterPath();
}

} // namespace tvl
