#include "discinfo/CdText.h"

#include <QByteArray>

namespace tvl {

namespace {

constexpr size_t headerSize = 4;
constexpr size_t packSize = 18;
constexpr size_t textBytes = 12;
constexpr int maxPacks = 255;
constexpr qsizetype maxStringLength = 255;

enum PackType : uint8_t
{
    packTitle = 0x80,
    packPerformer = 0x81,
    packMessage = 0x85,
};

void StoreAt(QStringList& list, int index, const QString& text)
{
    if (list.size() <= index)
        list.resize(index + 1);
    list[index] = text;
}

} // namespace

bool ParseCdText(std::span<const uint8_t> data, CdTextAlbum& album)
{
    QStringList titles;
    QStringList performers;
    QByteArray text;
    bool stored = false;
    for (int k = 0; k < maxPacks; ++k) {
        const size_t at = headerSize + packSize * static_cast<size_t>(k);
        if (at + packSize > data.size())
            break;
        const std::span<const uint8_t> pack = data.subspan(at, packSize);
        if (pack[2] != k)
            break;
        const uint8_t type = pack[0];
        const int block = (pack[3] >> 4) & 7;
        if (type < packTitle || type > packMessage || block != 0)
            continue;
        int t = pack[1];
        for (size_t b = 0; b < textBytes; ++b) {
            const uint8_t byte = pack[4 + b];
            if (byte != 0) {
                if (text.size() < maxStringLength)
                    text.append(static_cast<char>(byte));
                continue;
            }
            const QString string = QString::fromLatin1(text);
            if (type == packTitle || type == packPerformer) {
                if (t == 0)
                    (type == packTitle ? album.title : album.artist) = string;
                else
                    StoreAt(type == packTitle ? titles : performers, t, string);
                stored = true;
            } else if (type == packMessage) {
                album.message += string;
            }
            text.clear();
            ++t;
        }
    }
    for (qsizetype i = 1; i < titles.size(); ++i) {
        const QString performer = i < performers.size() ? performers[i] : QString();
        const QString name = !performer.isEmpty() && performer != album.artist
                                 ? QStringLiteral("%1 / %2").arg(performer, titles[i])
                                 : titles[i];
        StoreAt(album.trackEntries, static_cast<int>(i), name);
    }
    return stored;
}

} // namespace tvl
