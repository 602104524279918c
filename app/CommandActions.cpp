#include "app/CommandActions.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>

namespace tvl {
namespace {

struct CommandInfo
{
    Command command;
    const char* text;
    const char* icon;     // resource name under :/icons, or nullptr
    const char* shortcut; // portable key text, or nullptr
    const char* prompt;
    bool checkable;
};

// The order of the Command enumeration.
constexpr CommandInfo commandTable[] = {
    {Command::New, "&New...", "new", "Ctrl+N", "Create a new design", false},
    {Command::Open, "&Open...", "open", "Ctrl+O", "Open an existing design", false},
    {Command::Save, "&Save", "save", "Ctrl+S", "Save the design", false},
    {Command::SaveAs, "Save &As...", nullptr, nullptr, "Save the design under a new name", false},
    {Command::SaveAsDefaultDesign, "Save As &Default Design", nullptr, nullptr,
     "Use this design for every new design", false},
    {Command::ExportLabelToImage, "&Export Label to Image File", "export", nullptr,
     "Save the shown label as a picture file", false},
    {Command::Print, "&Print...", "print", "Ctrl+P", "Print the labels", false},
    {Command::PrintPreview, "Print Pre&view", "print-preview", nullptr, "Show the printed sheets", false},
    {Command::PrinterCalibration, "Printer &Calibration", nullptr, nullptr,
     "Print the calibration sheet and set the printer offsets", false},
    {Command::Exit, "E&xit", nullptr, "Ctrl+Q", "Quit the program", false},
    {Command::InsertArtist, "&Artist", nullptr, nullptr, "Insert the artist", false},
    {Command::InsertTitle, "Tit&le", nullptr, nullptr, "Insert the album title", false},
    {Command::InsertTrack, "Trac&k", nullptr, nullptr, "Insert the track list", false},
    {Command::InsertYear, "&Year", nullptr, nullptr, "Insert the year", false},
    {Command::InsertTotalTime, "Total Ti&me", nullptr, nullptr, "Insert the total time", false},
    {Command::InsertGenre, "&Genre", nullptr, nullptr, "Insert the genre", false},
    {Command::InsertText, "&Text", nullptr, nullptr, "Insert a text block", false},
    {Command::InsertImage, "&Image", nullptr, nullptr, "Insert a picture", false},
    {Command::Undo, "&Undo", "undo", "Ctrl+Z", "Undo the last change", false},
    {Command::Redo, "&Redo", "redo", "Ctrl+Y", "Redo the change undone last", false},
    {Command::CutText, "Cu&t Text", "cut", nullptr, "Move the selected text to the clipboard", false},
    {Command::CopyText, "&Copy Text", "copy", nullptr, "Copy the selected text to the clipboard", false},
    {Command::PasteText, "&Paste Text", "paste", nullptr, "Insert the text on the clipboard", false},
    {Command::CutObject, "Cut &Object", "cut", "Ctrl+X", "Move the selected item to the clipboard", false},
    {Command::CopyObject, "Copy O&bject", "copy", "Ctrl+C", "Copy the selected item to the clipboard", false},
    {Command::PasteObject, "Paste Ob&ject", "paste", "Ctrl+V", "Insert the item on the clipboard", false},
    {Command::DeleteObject, "&Delete Object", "delete", "Del", "Delete the selected item", false},
    {Command::ChangeLabelPaper, "Change &Label Paper", "label-paper", nullptr, "Choose the label stock",
     false},
    {Command::CenterHorizontally, "Center &Horizontally", "center-horizontally", nullptr,
     "Center the selected item from left to right", false},
    {Command::CenterVertically, "Center &Vertically", "center-vertically", nullptr,
     "Center the selected item from top to bottom", false},
    {Command::SnapToGrid, "&Snap to Grid", "snap", nullptr, "Move and size items along the grid", true},
    {Command::ShowGrid, "Show &Grid", "grid", nullptr, "Draw the grid", true},
    {Command::GridSize, "Grid Si&ze...", nullptr, nullptr, "Set the grid spacing", false},
    {Command::Units, "&Units...", nullptr, nullptr, "Show lengths in inches or millimeters", false},
    {Command::Help, "&Help", "help", "F1", "Open the user guide", false},
    {Command::Website, "Tovrelline &Website", "website", nullptr, "Visit the Tovrelline website", false},
    {Command::About, "&About Tovrelline", nullptr, nullptr, "Show the program's version", false},
    {Command::ShowFrontCover, "Show the Front Cover", "front-cover", nullptr, "Show the front cover", false},
    {Command::ShowBackCover, "Show the Back Cover", "back-cover", nullptr, "Show the back cover", false},
    {Command::ShowDiscLabel, "Show the Disc Label", "disc", nullptr, "Show the disc label", false},
    {Command::ShowSecondDisc, "Show the Second Disc Label", "disc2", nullptr, "Show the second disc label",
     false},
    {Command::ZoomOut, "Zoom Out", "zoom-out", "Ctrl+-", "Show the label smaller", false},
    // Ctrl+= as well: plus needs Shift on many keyboards.
    {Command::ZoomIn, "Zoom In", "zoom-in", "Ctrl++; Ctrl+=", "Show the label larger", false},
    {Command::ReadCd, "Read CD", "read-cd", nullptr, "Read the album data of an audio CD", false},
    {Command::Guides, "Guides", "guides", nullptr, "Show the printable area", true},
    {Command::InsertObject, "Insert", "insert", nullptr, "Insert a text block, track list or picture", false},
    {Command::ZoomToFit, "Zoom to Fit", nullptr, "Ctrl+0",
     "Show the whole label as large as the window allows", false},
};

constexpr bool InCommandOrder()
{
    for (size_t i = 0; i < std::size(commandTable); ++i) {
        if (static_cast<size_t>(commandTable[i].command) != i)
            return false;
    }
    return std::size(commandTable) == static_cast<size_t>(Command::Count);
}

static_assert(InCommandOrder());

} // namespace

CommandActions::CommandActions(QObject* owner)
{
    for (size_t i = 0; i < std::size(commandTable); ++i) {
        const CommandInfo& info = commandTable[i];
        auto* action = new QAction(QString::fromUtf8(info.text), owner);
        if (info.icon)
            action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1StringView(info.icon))));
        if (info.shortcut)
            action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(info.shortcut)));
        action->setStatusTip(QString::fromUtf8(info.prompt));
        action->setCheckable(info.checkable);
        action->setEnabled(false);
        actions[i] = action;
    }
}

} // namespace tvl
