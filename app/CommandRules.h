#pragma once

#include "app/Command.h"

class QMimeData;

namespace tvl {

// What the label view reports about the selection and the undo history.
struct EditState
{
    bool textItemSelected = false; // the selected item is a text or track-list item
    bool textSelected = false;     // and its text selection is not empty
    bool itemSelected = false;
    bool deletableSelected = false; // a text, track-list or image item is selected
    bool movableSelected = false;
    int historySteps = 0;
    int historyIndex = -1; // the last step done, -1 when all are undone
};

struct ClipboardState
{
    bool plainText = false;
    bool objects = false; // our object format
    bool bitmap = false;
};

ClipboardState ReadClipboardState(const QMimeData* data);

// Whether a command that has a handler can run now; commands without a rule always can.
bool CommandEnabled(Command command, const EditState& edit, const ClipboardState& clipboard);

} // namespace tvl
