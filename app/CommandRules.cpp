#include "app/CommandRules.h"

#include "app/ClipboardFormat.h"

#include <QMimeData>

namespace tvl {

ClipboardState ReadClipboardState(const QMimeData* data)
{
    if (!data)
        return {};
    return {data->hasText(), data->hasFormat(objectClipboardMimeType), data->hasImage()};
}

bool CommandEnabled(Command command, const EditState& edit, const ClipboardState& clipboard)
{
    switch (command) {
    case Command::CutText:
    case Command::CopyText:
        return edit.textItemSelected && edit.textSelected;
    case Command::PasteText:
        return edit.textItemSelected && clipboard.plainText;
    case Command::CutObject:
    case Command::CopyObject:
        return edit.itemSelected;
    case Command::PasteObject:
        return clipboard.objects || clipboard.bitmap;
    case Command::DeleteObject:
        return edit.deletableSelected;
    case Command::CenterHorizontally:
    case Command::CenterVertically:
        return edit.movableSelected;
    case Command::Undo:
        return edit.historySteps > 0 && edit.historyIndex >= 0;
    case Command::Redo:
        return edit.historySteps > 0 && edit.historyIndex < edit.historySteps - 1;
    default:
        return true;
    }
}

} // namespace tvl
