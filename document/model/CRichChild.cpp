#include "document/model/CRichChild.h"

#include "document/model/SurfaceNames.h"

#include "document/archive/CArchive.h"
#include "document/model/CAlbumInfo.h"
#include "document/model/TextEncoding.h"
#include "document/model/UndoRecorder.h"

namespace tvl {
namespace {

// Start index and length (terminator included) of every cell of a text.
struct CellSpan
{
    size_t start;
    size_t length;
};

std::vector<CellSpan> CellSpans(const std::vector<char32_t>& characters)
{
    std::vector<CellSpan> cells;
    size_t start = 0;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (characters[i] == kCellEnd) {
            cells.push_back({start, i + 1 - start});
            start = i + 1;
        }
    }
    if (start < characters.size())
        cells.push_back({start, characters.size() - start});
    return cells;
}

QString Upgraded(const QString& value)
{
    if (value == u"Track Numbers + Track Times")
        return QStringLiteral("Track Numbers && Times");
    if (value == u"Top + Bottom")
        return QStringLiteral("Top && Bottom");
    return value;
}

} // namespace

const RecordClass& CRichChild::Class()
{
    static const RecordClass recordClass{"CRichChild", kRecordSchema, true,
                                         [] { return std::make_unique<CRichChild>(); }};
    return recordClass;
}

int CRichChild::SetInt(UndoKey key, int& field, int value)
{
    if (value == kNoValue)
        return field;
    if (value != field)
        m_revision.Bump();
    if (m_recorder) {
        m_recorder->RecordChange(key, this, QString::number(field), QString::number(value));
    }
    field = value;
    return field;
}

QString CRichChild::SetString(UndoKey key, QString& field, const QString& value)
{
    if (value.isEmpty())
        return field;
    if (value != field)
        m_revision.Bump();
    if (m_recorder)
        m_recorder->RecordChange(key, this, field, value);
    field = value;
    return field;
}

int CRichChild::left(int value)
{
    return SetInt(UndoKey::Left, m_left, value);
}
int CRichChild::top(int value)
{
    return SetInt(UndoKey::Top, m_top, value);
}
int CRichChild::width(int value)
{
    return SetInt(UndoKey::Width, m_width, value);
}
int CRichChild::height(int value)
{
    return SetInt(UndoKey::Height, m_height, value);
}
int CRichChild::textMargin(int value)
{
    return SetInt(UndoKey::TextMargin, m_textMargin, value);
}
int CRichChild::bAspectRatio(int value)
{
    return SetInt(UndoKey::AspectRatio, m_bAspectRatio, value);
}
int CRichChild::bLinkText(int value)
{
    return SetInt(UndoKey::LinkText, m_bLinkText, value);
}
int CRichChild::bAutoFit(int value)
{
    return SetInt(UndoKey::AutoFit, m_bAutoFit, value);
}
int CRichChild::bBackground(int value)
{
    return SetInt(UndoKey::Background, m_bBackground, value);
}
QString CRichChild::angle(const QString& value)
{
    return SetString(UndoKey::Angle, m_angle, value);
}
QString CRichChild::wrapStyle(const QString& value)
{
    return SetString(UndoKey::WrapStyle, m_wrapStyle, value);
}
QString CRichChild::alignment(const QString& value)
{
    return SetString(UndoKey::Alignment, m_alignment, value);
}
QString CRichChild::trackNumbers(const QString& value)
{
    return SetString(UndoKey::TrackNumbers, m_trackNumbers, value);
}
QString CRichChild::textLayout(const QString& value)
{
    return SetString(UndoKey::TextLayout, m_textLayout, value);
}

bool CRichChild::IsDiscSurface() const
{
    return surface == name && IsDiscSurfaceName(name);
}

QRect CRichChild::Rect() const
{
    return QRect(m_left, m_top, m_width, IsDiscSurface() ? m_width : m_height);
}

QRect CRichChild::InnerRect() const
{
    if (!IsDiscSurface())
        return Rect();
    const int inset = (m_width - m_height) / 2;
    return QRect(m_left + inset, m_top + inset, m_height, m_height);
}

QString CRichChild::KindName() const
{
    return kind == ItemKind::Other ? m_otherKindName : ItemKindName(kind);
}

void CRichChild::SetKindName(const QString& name)
{
    kind = ParseItemKind(name);
    m_otherKindName = kind == ItemKind::Other ? name : QString();
}

QString CRichChild::Text() const
{
    return FromCharacters(characters);
}

void CRichChild::ReplaceText(const QString& text)
{
    const std::vector<CellSpan> oldCells = CellSpans(characters);
    std::vector<char32_t> newCharacters = ToCharacters(text);
    const std::vector<CellSpan> newCells = CellSpans(newCharacters);
    const bool trackColumns = kind == ItemKind::Track && oldCells.size() >= 3;

    std::vector<std::optional<ItemFont>> newFonts(newCharacters.size());
    std::vector<std::optional<ItemColor>> newColors(newCharacters.size());
    std::vector<std::uint16_t> newUnderlines(newCharacters.size(), 0);
    for (size_t cell = 0; cell < newCells.size() && !oldCells.empty(); ++cell) {
        size_t source = std::min(cell, oldCells.size() - 1);
        if (cell >= oldCells.size() && trackColumns)
            source = oldCells.size() - 1 - (oldCells.size() - 1 + 3 - cell % 3) % 3;
        for (size_t offset = 0; offset < newCells[cell].length; ++offset) {
            const size_t target = newCells[cell].start + offset;
            if (offset < oldCells[source].length) {
                const size_t from = oldCells[source].start + offset;
                newFonts[target] = from < fonts.size() ? fonts[from] : std::nullopt;
                newColors[target] = from < colors.size() ? colors[from] : std::nullopt;
                newUnderlines[target] = from < underlines.size() ? underlines[from] : 0;
            } else if (offset > 0) {
                newUnderlines[target] = newUnderlines[target - 1];
            }
        }
    }
    // The first run always has a font and colour, even when the old text was empty.
    if (!newCharacters.empty()) {
        for (size_t i = 0; !newFonts[0] && i < fonts.size(); ++i)
            newFonts[0] = fonts[i];
        for (size_t i = 0; !newColors[0] && i < colors.size(); ++i)
            newColors[0] = colors[i];
    }
    characters = std::move(newCharacters);
    fonts = std::move(newFonts);
    colors = std::move(newColors);
    underlines = std::move(newUnderlines);
    m_revision.Bump();
}

void CRichChild::Serialize(CArchive& archive)
{
    const bool isText = IsTextual();
    const bool hasColors = isText || HasAreaColor(kind);
    if (archive.IsStoring()) {
        archive.PutString(name);
        archive.PutString(KindName());
        archive.PutString(pageCode);
        archive.PutString(surface);
        for (const int value : {m_left, m_top, m_width, m_height})
            archive.PutInt32(value);
        for (const QString* value : {&m_alignment, &m_angle, &m_trackNumbers, &m_textLayout, &m_wrapStyle})
            archive.PutString(*value);
        for (const int value :
             {coverSpine, m_textMargin, m_bLinkText, m_bAspectRatio, m_bBackground, m_bAutoFit, coverFolded})
            archive.PutInt32(value);
        archive.PutString(isText && m_bLinkText == 0 ? Text() : QString());
        archive.PutString(isText ? FontsToString(fonts) : QString());
        archive.PutString(hasColors ? ColorsToString(colors) : QString());
        if (isText)
            archive.PutWordArray(underlines);
        return;
    }

    name = archive.GetString();
    SetKindName(archive.GetString());
    pageCode = archive.GetString();
    surface = archive.GetString();
    for (int* value : {&m_left, &m_top, &m_width, &m_height})
        *value = archive.GetInt32();
    for (QString* value : {&m_alignment, &m_angle, &m_trackNumbers, &m_textLayout, &m_wrapStyle})
        *value = archive.GetString();
    for (int* value : {&coverSpine, &m_textMargin, &m_bLinkText, &m_bAspectRatio, &m_bBackground, &m_bAutoFit,
                       &coverFolded})
        *value = archive.GetInt32();
    const QString storedText = archive.GetString();
    const QString storedFonts = archive.GetString();
    const QString storedColors = archive.GetString();

    if (IsTextual()) {
        underlines = archive.GetWordArray();
        m_trackNumbers = Upgraded(m_trackNumbers);
        m_textLayout = Upgraded(m_textLayout);
        const CAlbumInfo* album = archive.albumContext();
        characters =
            ToCharacters(m_bLinkText != 0 ? (album ? album->LinkedAlbumText(name) : QString()) : storedText);
        underlines.resize(characters.size(), 0);
        fonts.assign(characters.size(), std::nullopt);
        colors.assign(characters.size(), std::nullopt);
        if (!characters.empty()) {
            DecodeFonts(storedFonts, fonts);
            DecodeColors(storedColors, colors);
        }
    } else if (HasAreaColor(kind)) {
        colors.assign(1, std::nullopt);
        DecodeColors(storedColors, colors);
    }
    m_revision.Bump();
}

std::vector<char32_t> ToCharacters(QStringView text)
{
    std::vector<char32_t> characters;
    characters.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            characters.push_back(QChar::surrogateToUcs4(unit, text[i + 1]));
            ++i;
        } else {
            characters.push_back(unit.unicode());
        }
    }
    return characters;
}

QString FromCharacters(const std::vector<char32_t>& characters)
{
    return QString::fromUcs4(characters.data(), static_cast<qsizetype>(characters.size()));
}

} // namespace tvl
