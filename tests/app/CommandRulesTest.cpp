#include "app/CommandRules.h"
#include "app/ClipboardFormat.h"

#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

namespace tvl {
namespace {

TEST(CommandRulesTest, EnablingFollowsSelectionHistoryAndClipboard)
{
    EditState text;
    text.textItemSelected = true;
    text.itemSelected = true;
    text.deletableSelected = true;
    EditState textWithSelection = text;
    textWithSelection.textSelected = true;
    EditState movable;
    movable.itemSelected = true;
    movable.movableSelected = true;
    const ClipboardState empty;
    const ClipboardState plain{true, false, false};
    const ClipboardState objects{false, true, false};
    const ClipboardState bitmap{false, false, true};

    const struct
    {
        Command command;
        EditState edit;
        ClipboardState clipboard;
        bool enabled;
    } cases[] = {
        {Command::CutText, text, empty, false},
        {Command::CutText, textWithSelection, empty, true},
        {Command::CopyText, textWithSelection, empty, true},
        {Command::PasteText, text, empty, false},
        {Command::PasteText, text, plain, true},
        {Command::PasteText, EditState{}, plain, false},
        {Command::CutObject, EditState{}, empty, false},
        {Command::CopyObject, movable, empty, true},
        {Command::PasteObject, EditState{}, plain, false},
        {Command::PasteObject, EditState{}, objects, true},
        {Command::PasteObject, EditState{}, bitmap, true},
        {Command::DeleteObject, movable, empty, false},
        {Command::DeleteObject, text, empty, true},
        {Command::CenterHorizontally, text, empty, false},
        {Command::CenterVertically, movable, empty, true},
        {Command::About, EditState{}, empty, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandEnabled(c.command, c.edit, c.clipboard), c.enabled) << int(c.command);
}

TEST(CommandRulesTest, UndoAndRedoFollowTheHistoryIndex)
{
    const struct
    {
        int steps, index;
        bool undo, redo;
    } cases[] = {
        {0, -1, false, false},
        {3, -1, false, true},
        {3, 0, true, true},
        {3, 2, true, false},
    };
    for (const auto& c : cases) {
        EditState edit;
        edit.historySteps = c.steps;
        edit.historyIndex = c.index;
        EXPECT_EQ(CommandEnabled(Command::Undo, edit, {}), c.undo) << c.steps << "," << c.index;
        EXPECT_EQ(CommandEnabled(Command::Redo, edit, {}), c.redo) << c.steps << "," << c.index;
    }
}

TEST(CommandRulesTest, ClipboardFormatsAreRecognised)
{
    EXPECT_FALSE(ReadClipboardState(nullptr).plainText);
    QMimeData data;
    data.setData(objectClipboardMimeType, QByteArray("items"));
    ClipboardState state = ReadClipboardState(&data);
    EXPECT_TRUE(state.objects);
    EXPECT_FALSE(state.plainText);
    data.setText(QStringLiteral("Artist"));
    data.setImageData(QImage(2, 2, QImage::Format_RGB32));
    state = ReadClipboardState(&data);
    EXPECT_TRUE(state.plainText);
    EXPECT_TRUE(state.bitmap);
}

} // namespace
} // namespace tvl
