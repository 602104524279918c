#include "render/text/FontEngine.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <cmath>
#include <mutex>

namespace tvl {
namespace {

QString ToQString(char32_t character)
{
    return QString::fromUcs4(&character, 1);
}

int Round(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace

FontFace::FontFace(const ItemFont& font)
{
    m_font = QFont(font.faceName.isEmpty() ? QStringLiteral("Arial") : font.faceName);
    m_font.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    m_font.setItalic(font.italic != 0);
    m_font.setHintingPreference(QFont::PreferNoHinting);
    m_font.setStyleStrategy(QFont::StyleStrategy(QFont::ForceOutline | QFont::NoSubpixelAntialias));
    m_font.setPixelSize(1000);
    m_raw = QRawFont::fromFont(m_font);
    if (m_raw.isValid() && m_raw.unitsPerEm() > 0)
        m_unitsPerEm = m_raw.unitsPerEm();
    m_raw.setPixelSize(m_unitsPerEm);
    m_font.setPixelSize(Round(m_unitsPerEm));
    if (m_raw.isValid()) {
        m_ascent = m_raw.ascent();
        m_descent = m_raw.descent();
    } else {
        const QFontMetricsF metrics(m_font);
        m_ascent = metrics.ascent();
        m_descent = metrics.descent();
    }
}

double FontFace::Advance(char32_t character) const
{
    const auto found = m_advances.find(character);
    if (found != m_advances.end())
        return found->second;
    double advance = 0;
    if (m_raw.isValid() && m_raw.supportsCharacter(character)) {
        const QList<quint32> glyphs = m_raw.glyphIndexesForString(ToQString(character));
        if (!glyphs.isEmpty()) {
            const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
            advance = advances.isEmpty() ? 0 : advances.first().x();
        }
    } else {
        // Characters this face lacks come from the fallback face Qt picks for them.
        advance = QFontMetricsF(m_font).horizontalAdvance(ToQString(character));
    }
    m_advances.emplace(character, advance);
    return advance;
}

FontFace::Scale FontFace::AtHeight(int height) const
{
    const double milsPerUnit = EmMils(height) / m_unitsPerEm;
    return {milsPerUnit, Round((m_ascent + m_descent) * milsPerUnit), Round(m_descent * milsPerUnit)};
}

CharExtent FontFace::Extent(char32_t character, int height) const
{
    const Scale scale = AtHeight(height);
    return {ScaledWidth(Advance(character), scale), scale.height, scale.descent};
}

int FontFace::Descent(int height) const
{
    return Round(m_descent * EmMils(height) / m_unitsPerEm);
}

void FontFace::Draw(QPainter& painter, char32_t character, int height, int escapement, QPointF point) const
{
    const double em = EmMils(height);
    painter.save();
    painter.translate(point);
    if (escapement != 0)
        painter.rotate(-escapement / 10.0);
    const QPointF baseline(0, -Descent(height));
    if (m_raw.isValid() && m_raw.supportsCharacter(character)) {
        QRawFont sized = m_raw;
        sized.setPixelSize(em);
        QGlyphRun run;
        run.setRawFont(sized);
        run.setGlyphIndexes(sized.glyphIndexesForString(ToQString(character)));
        run.setPositions({QPointF(0, 0)});
        painter.drawGlyphRun(baseline, run);
    } else {
        QFont font = m_font;
        font.setPixelSize(std::max(1, Round(em)));
        painter.setFont(font);
        painter.drawText(baseline, ToQString(character));
    }
    painter.restore();
}

size_t FontEngine::KeyHash::operator()(const Key& key) const
{
    return qHash(key.family) ^ (static_cast<size_t>(key.weight) << 1) ^ static_cast<size_t>(key.italic);
}

FontEngine::FontEngine()
{
    InstallSubstitutions();
}

FontEngine& FontEngine::ForThisThread()
{
    thread_local FontEngine engine;
    return engine;
}

void FontEngine::InstallSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const std::pair<const char16_t*, const char16_t*> substitutes[] = {
            {u"Arial", u"Liberation Sans"},
            {u"Helvetica", u"Liberation Sans"},
            {u"Times New Roman", u"Liberation Serif"},
            {u"Times", u"Liberation Serif"},
            {u"Courier New", u"Liberation Mono"},
            {u"Courier", u"Liberation Mono"},
        };
        for (const auto& [face, liberation] : substitutes) {
            // Fontconfig aliases these already; the explicit substitution keeps them right when its
            // configuration does not.
            QFont::removeSubstitutions(QString::fromUtf16(face));
            QFont::insertSubstitution(QString::fromUtf16(face), QString::fromUtf16(liberation));
        }
    });
}

const FontFace& FontEngine::Face(const ItemFont& font)
{
    if (m_lastFace && m_lastKey.family == font.faceName && m_lastKey.weight == font.weight &&
        m_lastKey.italic == font.italic)
        return *m_lastFace;
    Key key{font.faceName, font.weight, font.italic};
    auto found = m_faces.find(key);
    if (found == m_faces.end())
        found = m_faces.emplace(key, std::make_unique<FontFace>(font)).first;
    m_lastKey = key;
    m_lastFace = found->second.get();
    return *m_lastFace;
}

} // namespace tvl
