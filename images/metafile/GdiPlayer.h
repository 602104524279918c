#pragma once

#include <QBrush>
#include <QByteArrayView>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QTransform>

class QPainter;

namespace tvl {

// Raster operations of a blit that takes no bitmap: paint with the brush, black or white.
constexpr quint32 PATCOPY = 0x00f00021;
constexpr quint32 BLACKNESS = 0x00000042;
constexpr quint32 WHITENESS = 0x00ff0062;

// A graphics object of a metafile's object table.
struct GdiObject
{
    enum class Kind
    {
        Empty,
        Pen,
        Brush,
        Font,
        // Palettes, regions and the like: they take a slot but draw nothing here.
        Other,
    };
    Kind kind = Kind::Empty;
    QPen pen;
    // Pen width in logical units; 0 is one device pixel.
    double penWidth = 0;
    QBrush brush;
    QString fontFace;
    // Font height in logical units: negative is the character height, positive the cell height.
    double fontHeight = 0;
    int fontWeight = 400;
    bool fontItalic = false;
    bool fontUnderline = false;
    bool fontStrikeOut = false;
    // Angle of the text line in tenths of a degree, counter-clockwise.
    int escapement = 0;

    // A pen from its GDI style (dash style, end cap and join bits), width in logical units and colour.
    static GdiObject makePen(quint32 style, double width, QColor color);
    // A brush from its GDI style (solid, hollow, hatched) and hatch number.
    static GdiObject makeBrush(quint32 style, QColor color, quint32 hatch);
};

// The drawing state machine shared by the WMF and EMF readers: mapping modes, window and viewport, the
// object table, saved states, paths and the drawing calls, all on a QPainter in logical coordinates.
class GdiPlayer
{
public:
    enum MapMode
    {
        MM_TEXT = 1,
        MM_LOMETRIC = 2,
        MM_HIMETRIC = 3,
        MM_LOENGLISH = 4,
        MM_HIENGLISH = 5,
        MM_TWIPS = 6,
        MM_ISOTROPIC = 7,
        MM_ANISOTROPIC = 8,
    };
    enum class ArcKind
    {
        Arc,
        Chord,
        Pie,
    };

    // `deviceToImage` maps the metafile's device units onto the image; `devicePixelsPerMm` sizes the
    // fixed mapping modes.
    GdiPlayer(QPainter& painter, const QTransform& deviceToImage, QSizeF devicePixelsPerMm, bool drawText);

    void setMapMode(int mode);
    void setWindowOrg(QPointF org);
    void setWindowExt(QSizeF ext);
    void setViewportOrg(QPointF org);
    void setViewportExt(QSizeF ext);
    void offsetWindowOrg(QPointF delta);
    void offsetViewportOrg(QPointF delta);
    void scaleWindowExt(double xNum, double xDen, double yNum, double yDen);
    void scaleViewportExt(double xNum, double xDen, double yNum, double yDen);
    void setWorldTransform(const QTransform& transform);
    // 1 identity, 2 left-multiply, 3 right-multiply, 4 set.
    void modifyWorldTransform(const QTransform& transform, int mode);

    // Object table: WMF fills the lowest free slot, EMF names the slot.
    void createObject(const GdiObject& object);
    void createObjectAt(quint32 index, const GdiObject& object);
    void selectObject(quint32 index);
    void selectStockObject(quint32 id);
    void deleteObject(quint32 index);

    void setTextColor(QColor color) { m_state.textColor = color; }
    void setBkColor(QColor color) { m_state.bkColor = color; }
    void setBkMode(int mode) { m_state.bkOpaque = mode == 2; }
    void setTextAlign(quint32 align) { m_state.textAlign = align; }
    void setPolyFillMode(int mode) { m_state.winding = mode == 2; }
    void save();
    // Negative counts back from the newest saved state; positive names a state by its depth.
    void restore(int which);

    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const QList<QPolygonF>& polygons);
    void polyBezier(const QPolygonF& points, bool fromCurrent);
    void rectangle(const QRectF& rect);
    // A blit without a bitmap: fills rect with the brush (PATCOPY), black or white and no outline; any
    // other operation draws nothing.
    void patternFill(const QRectF& rect, quint32 rop);
    void roundRect(const QRectF& rect, QSizeF corner);
    void ellipse(const QRectF& rect);
    void arc(const QRectF& rect, QPointF start, QPointF end, ArcKind kind);
    void setPixel(QPointF p, QColor color);
    void text(QPointF p, const QString& text, const QList<double>& advances);
    // `source` in the image's own top-down pixels; `rop` the raster operation of the record.
    void image(const QRectF& dest, const QImage& image, const QRectF& source, quint32 rop);
    void intersectClip(const QRectF& rect);
    void excludeClip(const QRectF& rect);
    void resetClip();
    // Combines the current path, or rectangles in device units, with the clip: 1 and, 2 or, 3 xor,
    // 4 difference, 5 copy.
    void selectClipPath(int mode);
    void selectClipRegion(const QList<QRectF>& deviceRects, int mode);

    void beginPath();
    void endPath();
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();

    // Decodes a bitmap a record carries, while the metafile's allowance of bitmap pixels lasts; null after.
    QImage decodeDib(QByteArrayView dib, qsizetype bitsOffset);

    static QColor colorRef(quint32 value)
    {
        return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
    }

private:
    struct State
    {
        int mapMode = MM_TEXT;
        QPointF windowOrg;
        QSizeF windowExt{1, 1};
        QPointF viewportOrg;
        QSizeF viewportExt{1, 1};
        QTransform world;
        GdiObject pen;
        GdiObject brush;
        GdiObject font;
        QColor textColor = Qt::black;
        QColor bkColor = Qt::white;
        bool bkOpaque = true;
        quint32 textAlign = 0;
        bool winding = false;
        QPointF position;
        QPainterPath clip;
        bool clipped = false;
    };

    QTransform logicalToImage() const;
    void apply();
    void fillAndStroke(const QPainterPath& path, bool fill, bool stroke = true);
    // Fills and strokes a shape, or adds it to the path being recorded.
    void draw(const QPainterPath& shape, bool closed);
    void addToPath(const QPainterPath& shape, bool closed);
    QPainterPath arcPath(const QRectF& rect, QPointF start, QPointF end, ArcKind kind) const;
    QPen devicePen() const;
    void combineClip(const QPainterPath& area, int mode);

    QPainter& m_painter;
    QTransform m_deviceToImage;
    QSizeF m_pixelsPerMm;
    bool m_drawText;
    State m_state;
    QList<State> m_saved;
    QList<GdiObject> m_objects;
    // A few bytes of run-length data can claim a huge bitmap; together they may not exceed this.
    qint64 m_bitmapPixelsLeft = 64'000'000;
    bool m_inPath = false;
    QPainterPath m_path;
};

} // namespace tvl
