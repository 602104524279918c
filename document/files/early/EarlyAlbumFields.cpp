#include "document/files/early/EarlyAlbumFields.h"

#include "document/files/early/EarlyValues.h"
#include "document/model/LabelDesign.h"

#include <QStringList>

namespace tvl {
namespace {

const QChar cellEnd(static_cast<char16_t>(kCellEnd));

} // namespace

QString EarlyPlainText(const QString& value)
{
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    return text + cellEnd;
}

std::optional<QString> EarlyTrackList(const QString& value)
{
    const QStringList fields = value.split(u'`');
    const int count = LeadingInteger(fields.front());
    if (count < 0 || (fields.size() - 1) / 2 < count)
        return std::nullopt;
    QString cells;
    for (int n = 1; n <= count; ++n) {
        cells += QString::number(n) + QStringLiteral(". ") + cellEnd;
        cells += fields[2 * n - 1] + cellEnd;
        cells += u' ' + fields[2 * n] + cellEnd;
    }
    return cells;
}

bool EarlyTextRowsToAlbum(const TextRows& rows, LabelDesign& design)
{
    for (const auto& row : rows) {
        if (row->kind == u"Text") {
            design.SetAlbumField(row->name, EarlyPlainText(row->value));
            continue;
        }
        const std::optional<QString> tracks = EarlyTrackList(row->value);
        if (!tracks)
            return false;
        design.SetAlbumField(row->name, *tracks);
    }
    return true;
}

} // namespace tvl
