#include "images/metafile/EmfReader.h"

#include "images/codecs/ByteReader.h"
#include "images/metafile/GdiPlayer.h"

#include <QtEndian>

#include <bit>
#include <cmath>

namespace tvl {

namespace {

constexpr quint32 EMR_HEADER = 1;
constexpr quint32 EMR_EOF = 14;
constexpr quint32 emfSignature = 0x464d4520;
constexpr quint32 RGN_COPY = 5;

struct Record
{
    quint32 type = 0;
    // The whole record, header included: offsets inside records count from its start.
    QByteArrayView bytes;
};

QRectF rectl(ByteReader& in)
{
    const double left = in.s32();
    const double top = in.s32();
    const double right = in.s32();
    const double bottom = in.s32();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QPointF pointl(ByteReader& in)
{
    const double x = in.s32();
    const double y = in.s32();
    return QPointF(x, y);
}

QPointF point16(ByteReader& in)
{
    const double x = in.s16();
    const double y = in.s16();
    return QPointF(x, y);
}

float f32(ByteReader& in)
{
    const float value = std::bit_cast<float>(in.u32());
    return std::isfinite(value) ? value : 0.0f;
}

QPolygonF points(ByteReader& in, quint32 count, bool small)
{
    QPolygonF polygon;
    if (qint64(count) * (small ? 4 : 8) > in.remaining())
        return polygon;
    polygon.reserve(qsizetype(count));
    for (quint32 i = 0; i < count; ++i)
        polygon.append(small ? point16(in) : pointl(in));
    return polygon;
}

// A DIB whose header and pixels lie at two offsets of a record.
QImage dibImage(GdiPlayer& player, QByteArrayView record, quint32 offBmi, quint32 cbBmi, quint32 offBits,
                quint32 cbBits)
{
    const auto inside = [&](quint32 offset, quint32 size) {
        return offset <= quint32(record.size()) && size <= quint32(record.size()) - offset;
    };
    if (cbBmi == 0 || !inside(offBmi, cbBmi) || !inside(offBits, cbBits))
        return QImage();
    QByteArray dib = record.sliced(offBmi, cbBmi).toByteArray();
    dib.append(record.sliced(offBits, cbBits).toByteArray());
    return player.decodeDib(dib, qsizetype(cbBmi));
}

GdiObject fontFrom(ByteReader& in)
{
    GdiObject font;
    font.kind = GdiObject::Kind::Font;
    font.fontHeight = in.s32();
    in.s32();
    font.escapement = in.s32();
    in.s32();
    font.fontWeight = in.s32();
    font.fontItalic = in.u8() != 0;
    font.fontUnderline = in.u8() != 0;
    font.fontStrikeOut = in.u8() != 0;
    in.skip(5);
    QString face;
    for (int i = 0; i < 32 && in.remaining() >= 2; ++i) {
        const char16_t c = char16_t(in.u16());
        if (c == 0)
            break;
        face.append(QChar(c));
    }
    font.fontFace = face;
    return font;
}

void textOut(GdiPlayer& player, const Record& r, ByteReader& in, bool wide)
{
    in.skip(16 + 4 + 8);
    const QPointF at = pointl(in);
    const quint32 count = in.u32();
    const quint32 offString = in.u32();
    in.u32();
    in.skip(16);
    const quint32 offDx = in.u32();
    const quint32 bytes = count * (wide ? 2 : 1);
    if (in.failed() || count == 0 || count > 65535 || offString > quint32(r.bytes.size()) ||
        bytes > quint32(r.bytes.size()) - offString)
        return;
    const QByteArrayView raw = r.bytes.sliced(offString, bytes);
    QString text;
    if (wide) {
        for (quint32 i = 0; i < count; ++i)
            text.append(QChar(qFromLittleEndian<quint16>(raw.data() + 2 * i)));
    } else {
        text = QString::fromLatin1(raw);
    }
    QList<double> advances;
    if (offDx > 0 && offDx <= quint32(r.bytes.size()) && qint64(count) * 4 <= r.bytes.size() - offDx) {
        ByteReader dx(r.bytes, offDx);
        for (quint32 i = 0; i < count; ++i)
            advances.append(dx.s32());
    }
    player.text(at, text, advances);
}

void bitBlt(GdiPlayer& player, const Record& r, ByteReader& in, bool stretch)
{
    in.skip(16);
    const QPointF dest = pointl(in);
    const double w = in.s32();
    const double h = in.s32();
    const quint32 rop = in.u32();
    const QPointF source = pointl(in);
    in.skip(24 + 4 + 4);
    const quint32 offBmi = in.u32();
    const quint32 cbBmi = in.u32();
    const quint32 offBits = in.u32();
    const quint32 cbBits = in.u32();
    double sw = w;
    double sh = h;
    if (stretch) {
        sw = in.s32();
        sh = in.s32();
    }
    if (in.failed())
        return;
    const QRectF target(dest, QSizeF(w, h));
    if (cbBmi == 0) {
        player.patternFill(target, rop);
        return;
    }
    const QImage image = dibImage(player, r.bytes, offBmi, cbBmi, offBits, cbBits);
    player.image(target, image, QRectF(source, QSizeF(sw, sh)), rop);
}

void stretchDiBits(GdiPlayer& player, const Record& r, ByteReader& in)
{
    in.skip(16);
    const QPointF dest = pointl(in);
    const QPointF source = pointl(in);
    const double sw = in.s32();
    const double sh = in.s32();
    const quint32 offBmi = in.u32();
    const quint32 cbBmi = in.u32();
    const quint32 offBits = in.u32();
    const quint32 cbBits = in.u32();
    in.u32();
    const quint32 rop = in.u32();
    const double w = in.s32();
    const double h = in.s32();
    if (in.failed())
        return;
    const QImage image = dibImage(player, r.bytes, offBmi, cbBmi, offBits, cbBits);
    // The source origin counts from the bottom row of the DIB.
    player.image(QRectF(dest, QSizeF(w, h)), image,
                 QRectF(source.x(), image.height() - source.y() - sh, sw, sh), rop);
}

void polyPoly(GdiPlayer& player, ByteReader& in, bool small, bool closed)
{
    in.skip(16);
    const quint32 count = in.u32();
    const quint32 total = in.u32();
    if (in.failed() || qint64(count) * 4 > in.remaining())
        return;
    QList<quint32> sizes;
    quint64 sum = 0;
    for (quint32 i = 0; i < count; ++i) {
        sizes.append(in.u32());
        sum += sizes.back();
    }
    if (sum != total)
        return;
    QList<QPolygonF> polygons;
    for (quint32 size : sizes) {
        const QPolygonF polygon = points(in, size, small);
        if (quint32(polygon.size()) != size)
            return;
        polygons.append(polygon);
    }
    if (closed) {
        player.polyPolygon(polygons);
    } else {
        for (const QPolygonF& polygon : polygons)
            player.polyline(polygon);
    }
}

void poly(GdiPlayer& player, ByteReader& in, quint32 type)
{
    in.skip(16);
    const quint32 count = in.u32();
    const bool small = type >= 85;
    const QPolygonF polygon = points(in, count, small);
    if (quint32(polygon.size()) != count)
        return;
    switch (small ? type - 83 : type) {
    case 2:
        player.polyBezier(polygon, false);
        break;
    case 3:
        player.polygon(polygon);
        break;
    case 4:
        player.polyline(polygon);
        break;
    case 5:
        player.polyBezier(polygon, true);
        break;
    case 6:
        player.polylineTo(polygon);
        break;
    default:
        break;
    }
}

void createObject(GdiPlayer& player, const Record& r, ByteReader& in)
{
    const quint32 index = in.u32();
    GdiObject object;
    switch (r.type) {
    case 38: {
        const quint32 style = in.u32();
        const double width = in.s32();
        in.s32();
        object = GdiObject::makePen(style, std::abs(width), GdiPlayer::colorRef(in.u32()));
        break;
    }
    case 95: {
        in.skip(16);
        const quint32 style = in.u32();
        const double width = in.u32();
        const quint32 brushStyle = in.u32();
        const QColor color = GdiPlayer::colorRef(in.u32());
        object = GdiObject::makePen(brushStyle == 1 ? 5 : style, width, color);
        // Cosmetic pens are one pixel whatever their width says.
        if (!(style & 0x00010000))
            object.penWidth = 0;
        break;
    }
    case 39: {
        const quint32 style = in.u32();
        const QColor color = GdiPlayer::colorRef(in.u32());
        object = GdiObject::makeBrush(style, color, in.u32());
        break;
    }
    case 94: {
        object.kind = GdiObject::Kind::Brush;
        in.u32();
        const quint32 offBmi = in.u32();
        const quint32 cbBmi = in.u32();
        const quint32 offBits = in.u32();
        const quint32 cbBits = in.u32();
        const QImage pattern = dibImage(player, r.bytes, offBmi, cbBmi, offBits, cbBits);
        object.brush = pattern.isNull() ? QBrush(Qt::gray) : QBrush(pattern);
        break;
    }
    case 82:
        object = fontFrom(in);
        break;
    default:
        object.kind = GdiObject::Kind::Other;
        break;
    }
    if (!in.failed())
        player.createObjectAt(index, object);
}

// The region comes as a header and a list of rectangles in device units.
void selectClipRegion(GdiPlayer& player, ByteReader& in)
{
    const quint32 size = in.u32();
    const quint32 mode = in.u32();
    if (in.failed())
        return;
    if (size == 0) {
        if (mode == RGN_COPY)
            player.resetClip();
        return;
    }
    in.skip(8);
    const quint32 count = in.u32();
    in.skip(4 + 16);
    if (in.failed() || qint64(count) * 16 > in.remaining())
        return;
    QList<QRectF> rects;
    for (quint32 i = 0; i < count; ++i) {
        const QRectF r = rectl(in);
        rects.append(r);
    }
    player.selectClipRegion(rects, int(mode));
}

QTransform xform(ByteReader& in)
{
    const double m11 = f32(in);
    const double m12 = f32(in);
    const double m21 = f32(in);
    const double m22 = f32(in);
    const double dx = f32(in);
    const double dy = f32(in);
    return QTransform(m11, m12, m21, m22, dx, dy);
}

void playRecord(GdiPlayer& player, const Record& r)
{
    ByteReader in(r.bytes, 8);
    switch (r.type) {
    case 9: {
        const QPointF ext = pointl(in);
        player.setWindowExt(QSizeF(ext.x(), ext.y()));
        break;
    }
    case 10:
        player.setWindowOrg(pointl(in));
        break;
    case 11: {
        const QPointF ext = pointl(in);
        player.setViewportExt(QSizeF(ext.x(), ext.y()));
        break;
    }
    case 12:
        player.setViewportOrg(pointl(in));
        break;
    case 17:
        player.setMapMode(int(in.u32()));
        break;
    case 18:
        player.setBkMode(int(in.u32()));
        break;
    case 19:
        player.setPolyFillMode(int(in.u32()));
        break;
    case 22:
        player.setTextAlign(in.u32());
        break;
    case 24:
        player.setTextColor(GdiPlayer::colorRef(in.u32()));
        break;
    case 25:
        player.setBkColor(GdiPlayer::colorRef(in.u32()));
        break;
    case 27:
        player.moveTo(pointl(in));
        break;
    case 54:
        player.lineTo(pointl(in));
        break;
    case 29:
        player.excludeClip(rectl(in));
        break;
    case 30:
        player.intersectClip(rectl(in));
        break;
    case 31:
    case 32: {
        const double xNum = in.s32();
        const double xDen = in.s32();
        const double yNum = in.s32();
        const double yDen = in.s32();
        if (r.type == 31)
            player.scaleViewportExt(xNum, xDen, yNum, yDen);
        else
            player.scaleWindowExt(xNum, xDen, yNum, yDen);
        break;
    }
    case 33:
        player.save();
        break;
    case 34:
        player.restore(in.s32());
        break;
    case 35:
        player.setWorldTransform(xform(in));
        break;
    case 36: {
        const QTransform t = xform(in);
        player.modifyWorldTransform(t, int(in.u32()));
        break;
    }
    case 37:
        player.selectObject(in.u32());
        break;
    case 40:
        player.deleteObject(in.u32());
        break;
    case 38:
    case 39:
    case 49:
    case 82:
    case 94:
    case 95:
        createObject(player, r, in);
        break;
    case 42:
        player.ellipse(rectl(in));
        break;
    case 43:
        player.rectangle(rectl(in));
        break;
    case 44: {
        const QRectF rect = rectl(in);
        const QPointF corner = pointl(in);
        player.roundRect(rect, QSizeF(corner.x(), corner.y()));
        break;
    }
    case 45:
    case 46:
    case 47: {
        const QRectF rect = rectl(in);
        const QPointF start = pointl(in);
        const QPointF end = pointl(in);
        const GdiPlayer::ArcKind kind =
            r.type == 45 ? GdiPlayer::ArcKind::Arc
                         : (r.type == 46 ? GdiPlayer::ArcKind::Chord : GdiPlayer::ArcKind::Pie);
        if (!in.failed())
            player.arc(rect, start, end, kind);
        break;
    }
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 85:
    case 86:
    case 87:
    case 88:
    case 89:
        poly(player, in, r.type);
        break;
    case 7:
    case 8:
        polyPoly(player, in, false, r.type == 8);
        break;
    case 90:
    case 91:
        polyPoly(player, in, true, r.type == 91);
        break;
    case 15: {
        const QPointF at = pointl(in);
        player.setPixel(at, GdiPlayer::colorRef(in.u32()));
        break;
    }
    case 59:
        player.beginPath();
        break;
    case 60:
        player.endPath();
        break;
    case 61:
        player.closeFigure();
        break;
    case 62:
        player.fillPath();
        break;
    case 63:
        player.strokeAndFillPath();
        break;
    case 64:
        player.strokePath();
        break;
    case 68:
        player.abortPath();
        break;
    case 67:
        player.selectClipPath(int(in.u32()));
        break;
    case 75:
        selectClipRegion(player, in);
        break;
    case 76:
        bitBlt(player, r, in, false);
        break;
    case 77:
        bitBlt(player, r, in, true);
        break;
    case 81:
        stretchDiBits(player, r, in);
        break;
    case 83:
        textOut(player, r, in, false);
        break;
    case 84:
        textOut(player, r, in, true);
        break;
    default:
        break;
    }
}

} // namespace

bool EmfReader::isEmf(QByteArrayView data)
{
    return data.size() >= 88 && qFromLittleEndian<quint32>(data.data()) == EMR_HEADER &&
           qFromLittleEndian<quint32>(data.data() + 40) == emfSignature;
}

bool EmfReader::frame(QByteArrayView data, Frame& frame, QString& error)
{
    error = QStringLiteral("corrupted EMF");
    if (!isEmf(data))
        return false;
    ByteReader in(data, 8);
    const QRectF bounds = rectl(in);
    const QRectF hundredthsMm = rectl(in);
    in.skip(4 + 4 + 4 + 4 + 2 + 2 + 4 + 4 + 4);
    const QPointF device = pointl(in);
    const QPointF mm = pointl(in);
    if (in.failed())
        return false;
    frame.pixelsPerMm = QSizeF(96 / 25.4, 96 / 25.4);
    if (device.x() > 0 && device.y() > 0 && mm.x() > 0 && mm.y() > 0)
        frame.pixelsPerMm = QSizeF(device.x() / mm.x(), device.y() / mm.y());
    const QRectF mmFrame = hundredthsMm.normalized();
    if (!mmFrame.isEmpty()) {
        frame.device = QRectF(mmFrame.left() / 100 * frame.pixelsPerMm.width(),
                              mmFrame.top() / 100 * frame.pixelsPerMm.height(),
                              mmFrame.width() / 100 * frame.pixelsPerMm.width(),
                              mmFrame.height() / 100 * frame.pixelsPerMm.height());
        frame.size = QSizeF(mmFrame.width() / 100 * 96 / 25.4, mmFrame.height() / 100 * 96 / 25.4);
    } else {
        frame.device = QRectF(bounds.topLeft(), bounds.bottomRight() + QPointF(1, 1)).normalized();
        frame.size = frame.device.size();
    }
    return !frame.device.isEmpty() && !frame.size.isEmpty();
}

bool EmfReader::play(QByteArrayView data, GdiPlayer& player, QString& error)
{
    qsizetype offset = 0;
    while (offset < data.size()) {
        ByteReader in(data, offset);
        Record r;
        r.type = in.u32();
        const quint32 size = in.u32();
        if (in.failed() || size < 8 || (size & 3) || size > quint32(data.size() - offset)) {
            error = QStringLiteral("corrupted EMF");
            return false;
        }
        if (r.type == EMR_EOF)
            return true;
        r.bytes = data.sliced(offset, size);
        if (r.type != EMR_HEADER)
            playRecord(player, r);
        offset += size;
    }
    error = QStringLiteral("corrupted EMF");
    return false;
}

} // namespace tvl
