#pragma once

#include "document/model/ItemFont.h"

#include <QPointF>
#include <QRawFont>
#include <QString>
#include <memory>
#include <unordered_map>

class QPainter;

namespace tvl {

// Extent of one character in mils: its advance, the font's cell height (ascent plus descent) and the
// font's descent.
struct CharExtent
{
    int width = 0;
    int height = 0;
    int descent = 0;
};

// One face (family, weight, italic) in design units. Measuring is linear in the size because no hinting
// is applied, so the advances are cached once per character and scaled to any size.
class FontFace
{
public:
    explicit FontFace(const ItemFont& font);

    // Extent of the character at a height in tenths of a point; one point is 1000 / 72 mils.
    CharExtent Extent(char32_t character, int height) const;
    int Descent(int height) const;

    // The advance of a character in design units, and what turns design units into mils at a height:
    // Extent(c, h).width is ScaledWidth(Advance(c), AtHeight(h)).
    double Advance(char32_t character) const;
    struct Scale
    {
        double milsPerUnit = 0;
        int height = 0;
        int descent = 0;
    };
    Scale AtHeight(int height) const;
    static int ScaledWidth(double advance, const Scale& scale)
    {
        return static_cast<int>(advance * scale.milsPerUnit + 0.5);
    }
    // The family the face resolved to (after substitution).
    QString ResolvedFamily() const { return m_raw.familyName(); }

    // Draws a character with the bottom-left corner of its cell at point (mils, in the painter's
    // coordinates), turned by escapement (tenths of a degree, counter-clockwise).
    void Draw(QPainter& painter, char32_t character, int height, int escapement, QPointF point) const;

private:
    QFont m_font;
    QRawFont m_raw; // at a pixel size of one em in design units
    double m_unitsPerEm = 2048;
    double m_ascent = 0;
    double m_descent = 0;
    mutable std::unordered_map<char32_t, double> m_advances;
};

// The font engine of the layout: resolution-free faces, one logical unit per mil. Faces are cached per
// (family, weight, italic); each thread keeps its own engine, as Qt fonts are not shared across threads.
class FontEngine
{
public:
    static FontEngine& ForThisThread();

    const FontFace& Face(const ItemFont& font);

    // The faces of the usual designs resolve to the metric-compatible Liberation families, whatever
    // else the system has installed.
    static void InstallSubstitutions();

private:
    FontEngine();

    struct Key
    {
        QString family;
        int weight;
        int italic;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash
    {
        size_t operator()(const Key& key) const;
    };
    std::unordered_map<Key, std::unique_ptr<FontFace>, KeyHash> m_faces;
    const FontFace* m_lastFace = nullptr;
    Key m_lastKey;
};

// The em height in mils of a font height in tenths of a point.
inline double EmMils(int height)
{
    return height * 1000.0 / 720.0;
}

} // namespace tvl
