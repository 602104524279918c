#include "document/model/TextEncoding.h"

#include <QStringList>
#include <algorithm>

namespace tvl {
namespace {

constexpr QChar kTerminator = QChar(0x08);

int ParseNumber(QStringView text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : -1;
}

} // namespace

QString FontsToString(const std::vector<std::optional<ItemFont>>& fonts)
{
    QString out;
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (!fonts[i])
            continue;
        const ItemFont& font = *fonts[i];
        for (const QString& field : {QString::number(i), font.faceName, QString::number(font.height),
                                     QString::number(font.weight), QString::number(font.italic)}) {
            out += field;
            out += kTerminator;
        }
    }
    return out;
}

QString ColorsToString(const std::vector<std::optional<ItemColor>>& colors)
{
    QString out;
    for (size_t i = 0; i < colors.size(); ++i) {
        if (!colors[i])
            continue;
        const ItemColor color = *colors[i];
        out += QString::number(i);
        out += kTerminator;
        out += QString::asprintf("%.3d%.3d%.3d", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
        out += kTerminator;
    }
    return out;
}

void DecodeFonts(const QString& stored, std::vector<std::optional<ItemFont>>& fonts)
{
    QStringList fields;
    QString field;
    for (const QChar ch : stored) {
        if (ch != kTerminator) {
            field += ch;
            continue;
        }
        fields.append(field);
        field.clear();
        if (fields.size() < 5)
            continue;
        const int index = ParseNumber(fields[0]);
        if (index >= 0 && static_cast<size_t>(index) < fonts.size()) {
            // Damaged sizes and weights are brought back into range so layout always gets a usable font.
            const int weight = ParseNumber(fields[3]);
            fonts[static_cast<size_t>(index)] =
                ItemFont{fields[1].left(ItemFont::kMaxFaceLength),
                         std::clamp(ParseNumber(fields[2]), ItemFont::kMinHeight, ItemFont::kMaxHeight),
                         weight > 0 ? std::min(weight, 1000) : 400, ParseNumber(fields[4]) > 0 ? 1 : 0};
        }
        fields.clear();
    }
}

void DecodeColors(const QString& stored, std::vector<std::optional<ItemColor>>& colors)
{
    qsizetype start = 0;
    while (start < stored.size()) {
        const qsizetype terminator = stored.indexOf(kTerminator, start);
        if (terminator < 0 || terminator + 10 > stored.size())
            return;
        const int index = ParseNumber(QStringView(stored).mid(start, terminator - start));
        const QStringView digits = QStringView(stored).mid(terminator + 1, 9);
        const auto component = [&](int at) {
            return static_cast<ItemColor>(std::max(0, ParseNumber(digits.mid(at, 3)))) & 0xFF;
        };
        if (index >= 0 && static_cast<size_t>(index) < colors.size())
            colors[static_cast<size_t>(index)] = component(0) | (component(3) << 8) | (component(6) << 16);
        start = terminator + 11;
    }
}

} // namespace tvl
