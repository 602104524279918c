#pragma once

#include <QMap>
#include <QString>
#include <QStringView>

#include <optional>
#include <variant>

namespace tvl {

// The program's options: named values of two kinds, "String" (text) and "Number" (32-bit integer), kept in
// one INI-style file (one section per kind). Every write re-reads the file, applies the change and replaces
// the file atomically, so a crash never leaves half a file and a second running copy's changes survive.
// A value that exists with the other kind reads as absent. Used on the user-interface thread only.
class SettingsStore
{
public:
    // Reads filePath when it exists; a missing or unreadable file is an empty store.
    explicit SettingsStore(QString filePath);

    // The store of this user: $XDG_CONFIG_HOME/Tovrelline/settings.ini.
    static QString DefaultFilePath();

    const QString& FilePath() const { return filePath; }

    // Kind "String" stores value as text, kind "Number" stores DecimalValue(value); any other kind stores
    // nothing and returns false. Returns false when the file could not be written: the change is then lost.
    bool WriteSetting(QStringView kind, const QString& name, const QString& value);

    // The text of a String value, at most 260 characters; empty when absent.
    QString ReadSettingString(const QString& name) const;

    std::optional<QString> String(const QString& name) const;
    std::optional<qint32> Number(const QString& name) const;
    bool Contains(const QString& name) const;

    bool WriteString(const QString& name, const QString& value);
    bool WriteNumber(const QString& name, qint32 value);
    // Deletes the value of either kind; true when the file was written or nothing had to change.
    bool Remove(const QString& name);

    static constexpr qsizetype maxStringLength = 260;

private:
    using Value = std::variant<QString, qint32>;
    using Values = QMap<QString, Value>;

    static Values Load(const QString& path);
    bool Commit(const QString& name, const std::optional<Value>& value);

    QString filePath;
    Values values;
};

} // namespace tvl
