#include "app/settings/SettingsStore.h"

#include "app/settings/DecimalText.h"
#include "storage/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tvl {
namespace {

const QString stringSection = QStringLiteral("[String]");
const QString numberSection = QStringLiteral("[Number]");

bool IsValidName(const QString& name)
{
    if (name.isEmpty() || name.trimmed() != name || name.startsWith(u'[') || name.startsWith(u';'))
        return false;
    for (const QChar c : name) {
        if (c == u'=' || c == u'\n' || c == u'\r' || c == u'\\')
            return false;
    }
    return true;
}

// Line breaks and backslashes are escaped so that every value stays on its own line.
QString Escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += u"\\\\";
        else if (c == u'\n')
            out += u"\\n";
        else if (c == u'\r')
            out += u"\\r";
        else
            out += c;
    }
    return out;
}

QString Unescaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
    }
    return out;
}

} // namespace

SettingsStore::SettingsStore(QString filePath)
    : filePath(std::move(filePath))
    , values(Load(this->filePath))
{
}

QString SettingsStore::DefaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tovrelline/settings.ini");
}

SettingsStore::Values SettingsStore::Load(const QString& path)
{
    Values loaded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return loaded;
    const QString text = QString::fromUtf8(file.readAll());
    enum class Section
    {
        None,
        String,
        Number,
    } section = Section::None;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.startsWith(u'[')) {
            section = line == stringSection   ? Section::String
                      : line == numberSection ? Section::Number
                                              : Section::None;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (section == Section::None || equals <= 0 || line.startsWith(u';'))
            continue;
        const QString name = line.left(equals).toString();
        const QStringView raw = line.mid(equals + 1);
        if (section == Section::String)
            loaded.insert(name, Unescaped(raw));
        else
            loaded.insert(name, DecimalValue(raw));
    }
    return loaded;
}

bool SettingsStore::Commit(const QString& name, const std::optional<Value>& value)
{
    if (!IsValidName(name))
        return false;
    Values updated = Load(filePath);
    if (value)
        updated.insert(name, *value);
    else
        updated.remove(name);

    QString strings = stringSection + u'\n';
    QString numbers = numberSection + u'\n';
    for (auto it = updated.cbegin(); it != updated.cend(); ++it) {
        if (const auto* text = std::get_if<QString>(&it.value()))
            strings += it.key() + u'=' + Escaped(*text) + u'\n';
        else
            numbers += it.key() + u'=' + QString::number(std::get<qint32>(it.value())) + u'\n';
    }

    if (!QDir().mkpath(QFileInfo(filePath).absolutePath()))
        return false;
    const QByteArray bytes = (strings + u'\n' + numbers).toUtf8();
    const AtomicWriteResult written = WriteFileAtomically(filePath, [&bytes](QIODevice& device) {
        device.write(bytes);
        return true;
    });
    if (written.status != AtomicWriteResult::Status::Written)
        return false;
    values = std::move(updated);
    return true;
}

bool SettingsStore::WriteSetting(QStringView kind, const QString& name, const QString& value)
{
    if (kind == u"String")
        return WriteString(name, value);
    if (kind == u"Number")
        return WriteNumber(name, DecimalValue(value));
    return false;
}

QString SettingsStore::ReadSettingString(const QString& name) const
{
    return String(name).value_or(QString()).left(maxStringLength);
}

std::optional<QString> SettingsStore::String(const QString& name) const
{
    const auto it = values.constFind(name);
    if (it == values.cend())
        return std::nullopt;
    if (const auto* text = std::get_if<QString>(&it.value()))
        return *text;
    return std::nullopt;
}

std::optional<qint32> SettingsStore::Number(const QString& name) const
{
    const auto it = values.constFind(name);
    if (it == values.cend())
        return std::nullopt;
    if (const auto* number = std::get_if<qint32>(&it.value()))
        return *number;
    return std::nullopt;
}

bool SettingsStore::Contains(const QString& name) const
{
    return values.contains(name);
}

bool SettingsStore::WriteString(const QString& name, const QString& value)
{
    return Commit(name, Value(value));
}

bool SettingsStore::WriteNumber(const QString& name, qint32 value)
{
    return Commit(name, Value(value));
}

bool SettingsStore::Remove(const QString& name)
{
    if (!values.contains(name) && !Load(filePath).contains(name))
        return true;
    return Commit(name, std::nullopt);
}

} // namespace tvl
