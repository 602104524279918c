#include "document/clipboard/ClipboardText.h"

#include "document/model/CRichChild.h"

#include <algorithm>

namespace tvl {
namespace {

void Append(QString& out, char32_t character)
{
    if (character == kLineBreak)
        out += QStringLiteral("\r\n");
    else
        out += QString::fromUcs4(&character, 1);
}

// The cell (1 number, 2 title, 3 time) each character of a track list lies in; a terminator belongs to
// the cell it ends.
int CellAt(const std::vector<char32_t>& characters, int index)
{
    int cell = 1;
    for (int i = 0; i < index && static_cast<size_t>(i) < characters.size(); ++i) {
        if (characters[static_cast<size_t>(i)] == kCellEnd)
            cell = cell % 3 + 1;
    }
    return cell;
}

QString TrackText(const std::vector<char32_t>& characters, int selStart, int selEnd)
{
    const int count = static_cast<int>(characters.size());
    const int startCell = CellAt(characters, selStart);
    const int endCell = CellAt(characters, std::min(selEnd, count - 1));
    QString out;
    int cell = 1;
    bool contributed = false;
    for (int i = 0; i < count; ++i) {
        const char32_t character = characters[static_cast<size_t>(i)];
        if (character != kCellEnd) {
            if (i >= selStart && i < selEnd && cell >= startCell && cell <= endCell) {
                Append(out, character);
                contributed = true;
            }
            continue;
        }
        if (cell < 3) {
            ++cell;
            continue;
        }
        if (i == count - 1)
            break;
        if (contributed)
            out += QStringLiteral("\r\n");
        contributed = false;
        cell = 1;
    }
    return out;
}

} // namespace

QString ClipboardTextOf(const CRichChild& item, int selStart, int selEnd)
{
    const int count = static_cast<int>(item.characters.size());
    selStart = std::clamp(selStart, 0, count);
    selEnd = std::clamp(selEnd, selStart, count);
    if (item.kind == ItemKind::Track)
        return TrackText(item.characters, selStart, selEnd);
    QString out;
    for (int i = selStart; i < selEnd; ++i) {
        const char32_t character = item.characters[static_cast<size_t>(i)];
        if (character != kCellEnd)
            Append(out, character);
    }
    return out;
}

QString TextFromClipboard(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(QChar(kCellEnd), QChar(u' '));
    text.replace(QChar(u'\t'), QChar(u' '));
    return text;
}

} // namespace tvl
