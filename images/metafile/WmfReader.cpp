#include "images/metafile/WmfReader.h"

#include "images/codecs/ByteReader.h"
#include "images/metafile/GdiPlayer.h"

#include <QtEndian>

namespace tvl {

namespace {

constexpr quint32 placeableKey = 0x9ac6cdd7;
constexpr int placeableSize = 22;
constexpr int headerWords = 9;

struct Record
{
    quint16 function = 0;
    qsizetype words = 0;
    QByteArrayView params;
};

qsizetype recordsStart(QByteArrayView data)
{
    const bool placeable = data.size() >= 4 && qFromLittleEndian<quint32>(data.data()) == placeableKey;
    return (placeable ? placeableSize : 0) + headerWords * 2;
}

// Reads the next record; false at the end record or when the records run past the data (`broken`).
bool nextRecord(QByteArrayView data, qsizetype& offset, Record& record, bool& broken)
{
    ByteReader in(data, offset);
    const quint32 words = in.u32();
    record.function = in.u16();
    if (in.failed() || words < 3 || qint64(words) * 2 > data.size() - offset) {
        broken = true;
        return false;
    }
    if (record.function == 0)
        return false;
    record.words = qsizetype(words);
    record.params = data.sliced(offset + 6, qsizetype(words) * 2 - 6);
    offset += qsizetype(words) * 2;
    return true;
}

QPointF point(ByteReader& in)
{
    const double x = in.s16();
    const double y = in.s16();
    return QPointF(x, y);
}

// Most records give y before x.
QPointF pointYX(ByteReader& in)
{
    const double y = in.s16();
    const double x = in.s16();
    return QPointF(x, y);
}

QRectF rectBRTL(ByteReader& in)
{
    const double bottom = in.s16();
    const double right = in.s16();
    const double top = in.s16();
    const double left = in.s16();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QPolygonF points(ByteReader& in, int count)
{
    QPolygonF polygon;
    if (count <= 0 || count * 4 > in.remaining())
        return polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i)
        polygon.append(point(in));
    return polygon;
}

GdiObject fontFrom(ByteReader& in)
{
    GdiObject font;
    font.kind = GdiObject::Kind::Font;
    font.fontHeight = in.s16();
    in.s16();
    font.escapement = in.s16();
    in.s16();
    font.fontWeight = in.s16();
    font.fontItalic = in.u8() != 0;
    font.fontUnderline = in.u8() != 0;
    font.fontStrikeOut = in.u8() != 0;
    in.skip(5);
    const QByteArrayView face = in.bytes(std::min<qsizetype>(32, in.remaining()));
    const qsizetype end = face.indexOf('\0');
    font.fontFace = QString::fromLatin1(end < 0 ? face : face.first(end));
    return font;
}

void textOut(GdiPlayer& player, ByteReader& in)
{
    const int count = in.s16();
    if (count <= 0 || count > in.remaining())
        return;
    const QByteArrayView text = in.bytes(count);
    in.skip(count & 1);
    const QPointF at = pointYX(in);
    if (!in.failed())
        player.text(at, QString::fromLatin1(text), {});
}

void extTextOut(GdiPlayer& player, ByteReader& in)
{
    const QPointF at = pointYX(in);
    const int count = in.s16();
    const quint16 options = in.u16();
    if (options & 0x0006)
        in.skip(8);
    if (count <= 0 || count > in.remaining())
        return;
    const QByteArrayView text = in.bytes(count);
    in.skip(count & 1);
    QList<double> advances;
    if (in.remaining() >= qsizetype(count) * 2) {
        for (int i = 0; i < count; ++i)
            advances.append(in.s16());
    }
    player.text(at, QString::fromLatin1(text), advances);
}

void blit(GdiPlayer& player, const Record& r, ByteReader& in, bool stretch)
{
    const quint32 rop = in.u32();
    const qsizetype fixedWords = 3 + 2 + (stretch ? 8 : 6) + 1;
    QSizeF sourceSize;
    QPointF source;
    if (stretch) {
        const double h = in.s16();
        const double w = in.s16();
        sourceSize = QSizeF(w, h);
    }
    source = pointYX(in);
    if (r.words <= fixedWords)
        in.skip(2);
    const double h = in.s16();
    const double w = in.s16();
    const QPointF dest = pointYX(in);
    if (!stretch)
        sourceSize = QSizeF(w, h);
    const QRectF target(dest, QSizeF(w, h));
    if (r.words <= fixedWords) {
        player.patternFill(target, rop);
        return;
    }
    const QImage image = player.decodeDib(r.params.sliced(in.offset()), -1);
    const QRectF from(source.x(), image.height() - source.y() - sourceSize.height(), sourceSize.width(),
                      sourceSize.height());
    player.image(target, image, from, rop);
}

void stretchDib(GdiPlayer& player, const Record& r, ByteReader& in)
{
    const quint32 rop = in.u32();
    in.u16();
    const double sh = in.s16();
    const double sw = in.s16();
    const QPointF source = pointYX(in);
    const double h = in.s16();
    const double w = in.s16();
    const QPointF dest = pointYX(in);
    if (in.failed())
        return;
    const QImage image = player.decodeDib(r.params.sliced(in.offset()), -1);
    player.image(QRectF(dest, QSizeF(w, h)), image,
                 QRectF(source.x(), image.height() - source.y() - sh, sw, sh), rop);
}

void polyPolygon(GdiPlayer& player, ByteReader& in)
{
    const int count = in.u16();
    if (count * 2 > in.remaining())
        return;
    QList<int> sizes;
    for (int i = 0; i < count; ++i)
        sizes.append(in.u16());
    QList<QPolygonF> polygons;
    for (int size : sizes) {
        const QPolygonF polygon = points(in, size);
        if (polygon.size() != size)
            return;
        polygons.append(polygon);
    }
    player.polyPolygon(polygons);
}

void arcRecord(GdiPlayer& player, ByteReader& in, GdiPlayer::ArcKind kind)
{
    const QPointF end = pointYX(in);
    const QPointF start = pointYX(in);
    const QRectF rect = rectBRTL(in);
    if (!in.failed())
        player.arc(rect, start, end, kind);
}

void playRecord(GdiPlayer& player, const Record& r)
{
    ByteReader in(r.params);
    switch (r.function) {
    case 0x0201:
        player.setBkColor(GdiPlayer::colorRef(in.u32()));
        break;
    case 0x0102:
        player.setBkMode(in.u16());
        break;
    case 0x0103:
        // The viewport is always the picture, so only the choice between kept and free aspect matters.
        player.setMapMode(in.u16() == GdiPlayer::MM_ISOTROPIC ? GdiPlayer::MM_ISOTROPIC
                                                              : GdiPlayer::MM_ANISOTROPIC);
        break;
    case 0x0106:
        player.setPolyFillMode(in.u16());
        break;
    case 0x012e:
        player.setTextAlign(in.u16());
        break;
    case 0x0209:
        player.setTextColor(GdiPlayer::colorRef(in.u32()));
        break;
    case 0x020b:
        player.setWindowOrg(pointYX(in));
        break;
    case 0x020c: {
        const QPointF ext = pointYX(in);
        player.setWindowExt(QSizeF(ext.x(), ext.y()));
        break;
    }
    case 0x020f:
        player.offsetWindowOrg(pointYX(in));
        break;
    case 0x0410: {
        const double yDen = in.s16();
        const double yNum = in.s16();
        const double xDen = in.s16();
        const double xNum = in.s16();
        player.scaleWindowExt(xNum, xDen, yNum, yDen);
        break;
    }
    case 0x0213:
        player.lineTo(pointYX(in));
        break;
    case 0x0214:
        player.moveTo(pointYX(in));
        break;
    case 0x0415:
        player.excludeClip(rectBRTL(in));
        break;
    case 0x0416:
        player.intersectClip(rectBRTL(in));
        break;
    case 0x0817:
        arcRecord(player, in, GdiPlayer::ArcKind::Arc);
        break;
    case 0x081a:
        arcRecord(player, in, GdiPlayer::ArcKind::Pie);
        break;
    case 0x0830:
        arcRecord(player, in, GdiPlayer::ArcKind::Chord);
        break;
    case 0x0418:
        player.ellipse(rectBRTL(in));
        break;
    case 0x041b:
        player.rectangle(rectBRTL(in));
        break;
    case 0x061c: {
        const double h = in.s16();
        const double w = in.s16();
        player.roundRect(rectBRTL(in), QSizeF(w, h));
        break;
    }
    case 0x001e:
        player.save();
        break;
    case 0x0127:
        player.restore(in.s16());
        break;
    case 0x041f: {
        const QColor color = GdiPlayer::colorRef(in.u32());
        player.setPixel(pointYX(in), color);
        break;
    }
    case 0x0521:
        textOut(player, in);
        break;
    case 0x0a32:
        extTextOut(player, in);
        break;
    case 0x0324:
    case 0x0325: {
        const int count = in.s16();
        const QPolygonF polygon = points(in, count);
        if (r.function == 0x0324)
            player.polygon(polygon);
        else
            player.polyline(polygon);
        break;
    }
    case 0x0538:
        polyPolygon(player, in);
        break;
    case 0x012d:
        player.selectObject(in.u16());
        break;
    case 0x01f0:
        player.deleteObject(in.u16());
        break;
    case 0x02fa: {
        const quint16 style = in.u16();
        const double width = in.s16();
        in.s16();
        player.createObject(GdiObject::makePen(style, std::abs(width), GdiPlayer::colorRef(in.u32())));
        break;
    }
    case 0x02fc: {
        const quint16 style = in.u16();
        const QColor color = GdiPlayer::colorRef(in.u32());
        player.createObject(GdiObject::makeBrush(style, color, in.u16()));
        break;
    }
    case 0x02fb:
        player.createObject(fontFrom(in));
        break;
    case 0x0142: {
        GdiObject brush;
        brush.kind = GdiObject::Kind::Brush;
        in.skip(4);
        const QImage pattern = player.decodeDib(r.params.sliced(std::min<qsizetype>(4, r.params.size())), -1);
        brush.brush = pattern.isNull() ? QBrush(Qt::gray) : QBrush(pattern);
        player.createObject(brush);
        break;
    }
    case 0x00f7:
    case 0x06ff:
    case 0x01f9: {
        GdiObject other;
        other.kind = GdiObject::Kind::Other;
        player.createObject(other);
        break;
    }
    case 0x0f43:
        stretchDib(player, r, in);
        break;
    case 0x0b41:
        blit(player, r, in, true);
        break;
    case 0x0940:
        blit(player, r, in, false);
        break;
    case 0x061d: {
        const quint32 rop = in.u32();
        const double h = in.s16();
        const double w = in.s16();
        const QPointF at = pointYX(in);
        if (rop == PATCOPY)
            player.patternFill(QRectF(at, QSizeF(w, h)), rop);
        break;
    }
    default:
        break;
    }
}

} // namespace

bool WmfReader::isWmf(QByteArrayView data)
{
    if (data.size() >= 4 && qFromLittleEndian<quint32>(data.data()) == placeableKey)
        return data.size() >= placeableSize + headerWords * 2;
    ByteReader in(data);
    const quint16 type = in.u16();
    const quint16 words = in.u16();
    const quint16 version = in.u16();
    return !in.failed() && (type == 1 || type == 2) && words == headerWords &&
           (version == 0x0100 || version == 0x0300);
}

bool WmfReader::frame(QByteArrayView data, Frame& frame, QString& error)
{
    error = QStringLiteral("corrupted WMF");
    if (!isWmf(data))
        return false;
    if (qFromLittleEndian<quint32>(data.data()) == placeableKey) {
        ByteReader in(data, 6);
        const double left = in.s16();
        const double top = in.s16();
        const double right = in.s16();
        const double bottom = in.s16();
        int inch = in.u16();
        if (inch == 0)
            inch = 1440;
        frame.window = QRectF(QPointF(left, top), QPointF(right, bottom));
        frame.size = QSizeF(std::abs(right - left) * 96.0 / inch, std::abs(bottom - top) * 96.0 / inch);
        return !frame.window.normalized().isEmpty();
    }
    // Without the placeable header the window records give the frame, one unit a pixel.
    qsizetype offset = recordsStart(data);
    Record r;
    bool broken = false;
    QPointF org;
    bool haveExt = false;
    while (!haveExt && nextRecord(data, offset, r, broken)) {
        ByteReader in(r.params);
        if (r.function == 0x020b) {
            org = pointYX(in);
        } else if (r.function == 0x020c) {
            const QPointF ext = pointYX(in);
            frame.window = QRectF(org, QSizeF(ext.x(), ext.y()));
            haveExt = !in.failed();
        }
    }
    if (!haveExt || frame.window.normalized().isEmpty())
        return false;
    frame.size = frame.window.normalized().size();
    return true;
}

bool WmfReader::play(QByteArrayView data, GdiPlayer& player, QString& error)
{
    qsizetype offset = recordsStart(data);
    Record r;
    bool broken = false;
    while (nextRecord(data, offset, r, broken))
        playRecord(player, r);
    if (broken) {
        error = QStringLiteral("corrupted WMF");
        return false;
    }
    return true;
}

} // namespace tvl
