#include "document/design/AlbumBarText.h"

#include "document/design/DesignDocument.h"
#include "document/design/TrackListEdits.h"

namespace tvl {
namespace {

constexpr QChar kTerminator(0x08);

} // namespace

QString BoxTextFromValue(QStringView value)
{
    QString text = value.toString();
    text.remove(kTerminator);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString ValueFromBoxText(QStringView text)
{
    return CellTextFromEditor(text) + kTerminator;
}

QString DiscSuffixFor(QStringView itemName, bool isDouble, const QString& currentSuffix)
{
    if (!isDouble)
        return {};
    const QStringView name = itemName.left(itemName.indexOf(u'('));
    const qsizetype dash = name.indexOf(u'-');
    if (dash < 1)
        return currentSuffix.isEmpty() ? QStringLiteral(" - Disc 1") : currentSuffix;
    return name.mid(dash - 1).toString();
}

std::vector<TrackGridRow> TrackGridRows(const QString& trackListValue)
{
    std::vector<TrackGridRow> rows;
    const int tracks = TrackCount(trackListValue);
    for (int track = 1; track <= tracks; ++track) {
        std::array<QStringList, 3> lines;
        qsizetype height = 1;
        for (int column = 0; column < 3; ++column) {
            lines[column] = TrackCell(trackListValue, track, column + 1).split(QLatin1Char('\r'));
            height = std::max(height, lines[column].size());
        }
        for (qsizetype line = 0; line < height; ++line) {
            TrackGridRow row;
            row.track = track;
            for (int column = 0; column < 3; ++column)
                row.lines[column] = lines[column].value(line);
            rows.push_back(row);
        }
    }
    return rows;
}

bool SetFieldFromBox(DesignDocument& document, const QString& key, QStringView boxText)
{
    const QString value = ValueFromBoxText(boxText);
    if (value == document.design().LinkedAlbumText(key))
        return false;
    return document.SetAlbumField(key, value);
}

} // namespace tvl
