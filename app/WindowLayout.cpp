#include "app/WindowLayout.h"

#include <QSettings>
#include <QStandardPaths>

namespace tvl {

WindowLayout::WindowLayout(QString filePath)
    : filePath(std::move(filePath))
{
}

QString WindowLayout::DefaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tovrelline/layout.ini");
}

QStringList WindowLayout::RecentFiles() const
{
    const QSettings file(filePath, QSettings::IniFormat);
    QStringList files;
    for (int i = 1; i <= recentFileCount; ++i) {
        const QString path = file.value(QStringLiteral("Recent File List/File%1").arg(i)).toString();
        if (!path.isEmpty())
            files.append(path);
    }
    return files;
}

void WindowLayout::SetRecentFiles(const QStringList& files)
{
    QSettings file(filePath, QSettings::IniFormat);
    for (int i = 1; i <= recentFileCount; ++i) {
        const QString key = QStringLiteral("Recent File List/File%1").arg(i);
        if (i <= files.size())
            file.setValue(key, files[i - 1]);
        else
            file.remove(key);
    }
}

int WindowLayout::PreviewPages() const
{
    const QSettings file(filePath, QSettings::IniFormat);
    return qBound(1, file.value(QStringLiteral("Settings/PreviewPages"), 1).toInt(), 2);
}

std::optional<WindowLayout::Bars> WindowLayout::SavedBars() const
{
    const QSettings file(filePath, QSettings::IniFormat);
    if (!file.contains(QStringLiteral("Toolbars/State")))
        return std::nullopt;
    return Bars{file.value(QStringLiteral("Toolbars/State")).toByteArray(),
                file.value(QStringLiteral("Toolbars/Bars")).toStringList()};
}

bool WindowLayout::SaveBars(const Bars& bars)
{
    QSettings file(filePath, QSettings::IniFormat);
    file.setValue(QStringLiteral("Toolbars/State"), bars.state);
    file.setValue(QStringLiteral("Toolbars/Bars"), bars.names);
    file.sync();
    return file.status() == QSettings::NoError;
}

bool UseSavedLayout(bool helpScreenPresent, const QString& version,
                    const std::optional<WindowLayout::Bars>& saved, const QStringList& currentBars)
{
    if (!helpScreenPresent || version != layoutVersion || !saved)
        return false;
    QStringList savedNames = saved->names;
    QStringList current = currentBars;
    savedNames.sort();
    current.sort();
    return savedNames == current;
}

} // namespace tvl
