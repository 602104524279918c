#pragma once

#include "document/design/DesignChange.h"

#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

class QMenu;

namespace tvl {

class CRichChild;
class DesignDocument;

// The eight Insert commands of the Edit menu, the label view's pop-up menu and the tool bar.
enum class InsertKind
{
    Artist,
    Title,
    Track,
    Year,
    TotalTime,
    Genre,
    Text,
    Image,
};

inline constexpr InsertKind kInsertKinds[] = {InsertKind::Artist, InsertKind::Title,     InsertKind::Track,
                                              InsertKind::Year,   InsertKind::TotalTime, InsertKind::Genre,
                                              InsertKind::Text,   InsertKind::Image};

// The item name an Insert command starts from ("Artist" … "Genre", "Track List", "Time", "Text", "Image").
QString InsertBaseName(InsertKind kind);
// The command's menu entry ("Artist", "Title", "Track", "Year", "Total Time", "Genre", "Text", "Image").
QString InsertCaption(InsertKind kind);

// What the Insert commands ask of the user and the program around them.
struct InsertPorts
{
    // The " Double CD mode" question: 1 or 2, -1 on Cancel; lastDisc is the disc shown on and takes the
    // user's clicks.
    std::function<int(const QString& text, int& lastDisc)> whichDisc;
    // A picture file chosen in the Insert Image dialog opened in startFolder; empty on Cancel.
    std::function<QString(const QString& startFolder)> chooseImage;
    // The folder pictures were last inserted from (setting OpenImage), and its new value.
    std::function<QString()> imageFolder;
    std::function<void(const QString& folder)> setImageFolder;
    // Gives a picture item the picture in its imagePath; the message for the user when the file cannot
    // be read, else empty.
    std::function<QString(CRichChild&)> loadPicture;
    // Tells the user why a picture was not inserted.
    std::function<void(const QString& message)> reportPictureError;
    // A pseudo-random number 0 … 999 that keeps new items from landing on each other.
    std::function<int()> jitter;
};

// Runs the Insert commands on the open design: one new item on the current surface, selected, as one undo
// step; a command the user cancels, or a picture that cannot be read, leaves the design as it was.
class InsertCommands final : private DesignListener
{
public:
    InsertCommands(DesignDocument& document, InsertPorts ports);
    ~InsertCommands() override;
    InsertCommands(const InsertCommands&) = delete;
    InsertCommands& operator=(const InsertCommands&) = delete;

    // Inserts an item of kind, centred on at (mils) when given, else placed on the current surface by
    // PlaceNewItem. True when an item was added.
    bool Insert(InsertKind kind, std::optional<QPoint> at = std::nullopt);

    // Adds the eight commands to a pop-up menu; each places its item centred on at (mils).
    void FillInsertMenu(QMenu& menu, QPoint at);

    // The disc the " Double CD mode" question shows chosen next.
    int lastDisc() const { return m_lastDisc; }

private:
    void DesignChanged(const DesignChange& change) override;

    DesignDocument& m_document;
    InsertPorts m_ports;
    int m_lastDisc = 1;
};

} // namespace tvl
