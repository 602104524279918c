#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tvl {

// The per-user window layout beside the settings store ($XDG_CONFIG_HOME/Tovrelline/layout.ini): the
// recent-file list, the print-preview page count and the state of the tool bars and docking bars.
class WindowLayout
{
public:
    explicit WindowLayout(QString filePath);
    static QString DefaultFilePath();

    static constexpr int recentFileCount = 4;
    QStringList RecentFiles() const;
    void SetRecentFiles(const QStringList& files);
    int PreviewPages() const;

    struct Bars
    {
        QByteArray state;  // QMainWindow::saveState
        QStringList names; // object names of the bars the state describes
    };
    std::optional<Bars> SavedBars() const;
    // False when the file could not be written.
    bool SaveBars(const Bars& bars);

private:
    QString filePath;
};

// Whether the saved bar state may be restored: the first run, a saved layout of another version and a
// saved state naming other bars than the window has all mean the default layout.
bool UseSavedLayout(bool helpScreenPresent, const QString& version,
                    const std::optional<WindowLayout::Bars>& saved, const QStringList& currentBars);

inline constexpr QStringView layoutVersion = u"4.00";

} // namespace tvl
