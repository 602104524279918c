#include "discinfo/CdPlayerFile.h"

#include <QFile>
#include <QStringDecoder>

namespace tvl {

namespace {

bool IsIniSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

QStringView TrimLeft(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && IsIniSpace(text[i]))
        ++i;
    return text.mid(i);
}

QString TrimRight(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && IsIniSpace(text[end - 1]))
        --end;
    return text.left(end).toString();
}

} // namespace

uint32_t CdPlayerKey(const DiscToc& toc)
{
    const int n = toc.TrackCount();
    uint32_t key = 0;
    for (int j = 0; j < n; ++j)
        key += static_cast<uint32_t>(toc.Minute(j) * 65536 + toc.Second(j) * 256 + toc.Frame(j));
    if (n == 1 || n == 2)
        key += static_cast<uint32_t>(toc.Frames(n)) - static_cast<uint32_t>(toc.Frames(0));
    if (n == 2)
        key += static_cast<uint32_t>(toc.Frame(0));
    return key;
}

QString CdPlayerSectionHeader(const DiscToc& toc)
{
    return u'[' + QString::number(CdPlayerKey(toc), 16).toUpper() + u']';
}

std::optional<DiscRecord> ReadCdPlayerFile(const DiscToc& toc, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ReadCdPlayerText(toc, file.readAll());
}

std::optional<DiscRecord> ReadCdPlayerText(const DiscToc& toc, const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    const QString header = CdPlayerSectionHeader(toc);
    std::optional<DiscRecord> record;
    int trackCounter = 0;
    qsizetype position = 0;
    for (;;) {
        const qsizetype lineFeed = text.indexOf(u'\n', position);
        if (lineFeed < 0)
            break;
        const QStringView line = TrimLeft(QStringView(text).mid(position, lineFeed - position));
        position = lineFeed + 1;
        if (!record) {
            if (line.startsWith(u'[') && line.left(header.size()).toString().toUpper() == header)
                record.emplace();
            continue;
        }
        if (line.startsWith(u'['))
            break;
        if (line.startsWith(u"artist=")) {
            record->artist = TrimRight(line.mid(7));
        } else if (line.startsWith(u"title=")) {
            record->title = TrimRight(line.mid(6));
        } else {
            const QString key = QString::number(trackCounter) + u'=';
            if (line.left(2) == key || line.left(3) == key) {
                record->trackTitles.append(TrimRight(line.mid(key.size())));
                ++trackCounter;
            }
        }
    }
    if (record)
        record->source = QStringLiteral("CDPlayer.ini");
    return record;
}

} // namespace tvl
