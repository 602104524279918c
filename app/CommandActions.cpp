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
    bool available; // its work exists in this program
    bool checkable;
};

// The order of the Command enumeration.
constexpr CommandInfo commandTable[] = {
    {Command::New, "&New...", "new", "Ctrl+N", "Create a new design", false, false},
    {Command::Open, "&Open...", "open", "Ctrl+O", "Open an existing design", false, false},
    {Command::Save, "&Save", "save", "Ctrl+S", "Save the design", false, false},
    {Command::SaveAs, "Save &As...", nullptr, nullptr, "Save the design under a new name", false, false},
    {Command::SaveAsDefaultDesign, "Save As &Default Design", nullptr, nullptr,
     "Use this design for every new design", false, false},
    {Command::ExportLabelToImage, "&Export Label to Image File", "export", nullptr,
     "Save the shown label as a picture file", false, false},
    {Command::Print, "&Print...", "print", "Ctrl+P", "Print the labels", false, false},
    {Command::PrintPreview, "Print Pre&view", "print-preview", nullptr, "Show the printed sheets", false,
     false},
    {Command::PrinterCalibration, "Printer &Calibration", nullptr, nullptr,
     "Print the calibration sheet and set the printer offsets", false, false},
    {Command::Exit, "E&xit", nullptr, "Ctrl+Q", "Quit the program", true, false},
    {Command::InsertArtist, "&Artist", nullptr, nullptr, "Insert the artist", false, false},
    {Command::InsertTitle, "T&itle", nullptr, nullptr, "Insert the album title", false, false},
    {Command::InsertTrack, "Trac&k", nullptr, nullptr, "Insert the track list", false, false},
    {Command::InsertYear, "&Year", nullptr, nullptr, "Insert the year", false, false},
    {Command::InsertTotalTime, "Total Ti&me", nullptr, nullptr, "Insert the total time", false, false},
    {Command::InsertGenre, "&Genre", nullptr, nullptr, "Insert the genre", false, false},
    {Command::InsertText, "&Text", nullptr, nullptr, "Insert a text block", false, false},
    {Command::InsertImage, "I&mage", nullptr, nullptr, "Insert a picture", false, false},
    {Command::Undo, "&Undo", "undo", "Ctrl+Z", "Undo the last change", false, false},
    {Command::Redo, "&Redo", "redo", "Ctrl+Y", "Redo the change undone last", false, false},
    {Command::CutText, "Cu&t Text", "cut", nullptr, "Move the selected text to the clipboard", false, false},
    {Command::CopyText, "&Copy Text", "copy", nullptr, "Copy the selected text to the clipboard", false,
     false},
    {Command::PasteText, "&Paste Text", "paste", nullptr, "Insert the text on the clipboard", false, false},
    {Command::CutObject, "Cut &Object", "cut", "Ctrl+X", "Move the selected item to the clipboard", false,
     false},
    {Command::CopyObject, "Copy O&bject", "copy", "Ctrl+C", "Copy the selected item to the clipboard", false,
     false},
    {Command::PasteObject, "Paste Ob&ject", "paste", "Ctrl+V", "Insert the item on the clipboard", false,
     false},
    {Command::DeleteObject, "&Delete Object", "delete", "Del", "Delete the selected item", false, false},
    {Command::ChangeLabelPaper, "Change &Label Paper", "label-paper", nullptr, "Choose the label stock",
     false, false},
    {Command::CenterHorizontally, "Center &Horizontally", "center-horizontally", nullptr,
     "Center the selected item from left to right", false, false},
    {Command::CenterVertically, "Center &Vertically", "center-vertically", nullptr,
     "Center the selected item from top to bottom", false, false},
    {Command::SnapToGrid, "&Snap to Grid", "snap", nullptr, "Move and size items along the grid", true, true},
    {Command::ShowGrid, "Show &Grid", "grid", nullptr, "Draw the grid", true, true},
    {Command::GridSize, "Grid Si&ze...", nullptr, nullptr, "Set the grid spacing", true, false},
    {Command::Units, "&Units...", nullptr, nullptr, "Show lengths in inches or millimeters", true, false},
    {Command::Help, "&Help", "help", "F1", "Open the user guide", true, false},
    {Command::Website, "Tovrelline &Website", "website", nullptr, "Visit the Tovrelline website", true,
     false},
    {Command::About, "&About Tovrelline", nullptr, nullptr, "Show the program's version", true, false},
    {Command::ShowFrontCover, "Show the Front Cover", "front-cover", nullptr, "Show the front cover", false,
     false},
    {Command::ShowBackCover, "Show the Back Cover", "back-cover", nullptr, "Show the back cover", false,
     false},
    {Command::ShowDiscLabel, "Show the Disc Label", "disc", nullptr, "Show the disc label", false, false},
    {Command::ShowSecondDisc, "Show the Second Disc Label", "disc2", nullptr, "Show the second disc label",
     false, false},
    {Command::ZoomOut, "Zoom Out", "zoom-out", "Ctrl+-", "Show the label smaller", false, false},
    {Command::ZoomIn, "Zoom In", "zoom-in", "Ctrl++", "Show the label larger", false, false},
    {Command::ReadCd, "Read CD", "read-cd", nullptr, "Read the album data of an audio CD", false, false},
    {Command::Guides, "Guides", "guides", nullptr, "Show the printable area", true, true},
    {Command::InsertObject, "Insert", "insert", nullptr, "Insert a text block, track list or picture", false,
     false},
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
            action->setShortcut(QKeySequence(QString::fromLatin1(info.shortcut)));
        action->setStatusTip(QString::fromUtf8(info.prompt));
        action->setCheckable(info.checkable);
        action->setEnabled(info.available);
        actions[i] = action;
    }
}

} // namespace tvl
