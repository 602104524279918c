#include "print/settings/PrinterSetup.h"

#include "storage/AtomicFile.h"

#include <QFile>
#include <QIODevice>

namespace tvl {
namespace {

constexpr const char* kVersionLine = "Tovrelline printer settings 1";
// No settings file comes near this; a larger count is damage, not settings.
constexpr qsizetype kMaxBlock = 64 * 1024;

std::optional<qsizetype> ReadCount(QByteArrayView bytes, qsizetype& at)
{
    const qsizetype end = bytes.indexOf('\n', at);
    if (end < 0 || end == at || end - at > 6)
        return std::nullopt;
    qsizetype count = 0;
    for (qsizetype i = at; i < end; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9')
            return std::nullopt;
        count = count * 10 + (bytes[i] - '0');
    }
    at = end + 1;
    if (count > kMaxBlock)
        return std::nullopt;
    return count;
}

int NumberOr(const QByteArray& text, int fallback)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

QStringList JobOptions(const PrinterSetup& setup)
{
    QStringList options;
    for (qsizetype i = 0; i + 1 < setup.options.size(); i += 2) {
        const QString& name = setup.options[i];
        if (!setup.tray.isEmpty() && (name == u"media-source" || name == u"InputSlot"))
            continue;
        options << name << setup.options[i + 1];
    }
    // CUPS gives a PPD printer the InputSlot that matches the media-source.
    if (!setup.tray.isEmpty())
        options << QStringLiteral("media-source") << setup.tray;
    return options;
}

QByteArray EncodePrinterSetup(const PrinterSetup& setup)
{
    QByteArray mode = QByteArray(kVersionLine) + '\n';
    mode += "paper=" + setup.paper.toUtf8() + '\n';
    mode += "tray=" + setup.tray.toUtf8() + '\n';
    mode += "duplex=" + QByteArray::number(setup.duplex) + '\n';
    mode += "color=" + QByteArray::number(setup.colorMode) + '\n';
    mode += "resolution=" + QByteArray::number(setup.resolution) + '\n';
    mode += "copies=" + QByteArray::number(setup.copies) + '\n';
    for (qsizetype i = 0; i + 1 < setup.options.size(); i += 2) {
        const QByteArray name = setup.options[i].toUtf8();
        const QByteArray value = setup.options[i + 1].toUtf8();
        // One line each: a name holding "=" or a line break could not be read back as written.
        if (name.isEmpty() || name.contains('=') || name.contains('\n') || value.contains('\n'))
            continue;
        mode += "option=" + name + '=' + value + '\n';
    }
    const QByteArray names = setup.printerName.toUtf8();
    return QByteArray::number(mode.size()) + '\n' + QByteArray::number(names.size()) + '\n' + mode + names;
}

std::optional<PrinterSetup> DecodePrinterSetup(QByteArrayView bytes)
{
    qsizetype at = 0;
    const std::optional<qsizetype> modeSize = ReadCount(bytes, at);
    if (!modeSize)
        return std::nullopt;
    const std::optional<qsizetype> namesSize = ReadCount(bytes, at);
    if (!namesSize || *modeSize + *namesSize > bytes.size() - at)
        return std::nullopt;
    const QByteArray mode = bytes.sliced(at, *modeSize).toByteArray();
    const QByteArrayView names = bytes.sliced(at + *modeSize, *namesSize);
    const QList<QByteArray> lines = mode.split('\n');
    if (lines.isEmpty() || lines.front() != kVersionLine || names.isEmpty())
        return std::nullopt;
    PrinterSetup setup;
    setup.printerName = QString::fromUtf8(names);
    for (const QByteArray& line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        if (key == "paper")
            setup.paper = QString::fromUtf8(value);
        else if (key == "tray")
            setup.tray = QString::fromUtf8(value);
        else if (key == "duplex")
            setup.duplex = NumberOr(value, -1);
        else if (key == "color")
            setup.colorMode = NumberOr(value, -1);
        else if (key == "resolution")
            setup.resolution = NumberOr(value, -1);
        else if (key == "copies")
            setup.copies = qBound(1, NumberOr(value, 1), 999);
        else if (key == "option" && value.indexOf('=') > 0)
            setup.options << QString::fromUtf8(value.left(value.indexOf('=')))
                          << QString::fromUtf8(value.mid(value.indexOf('=') + 1));
    }
    return setup;
}

std::optional<PrinterSetup> LoadPrinterSetup(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(2 * kMaxBlock + 16);
    file.close();
    if (bytes.isEmpty())
        return std::nullopt;
    std::optional<PrinterSetup> setup = DecodePrinterSetup(bytes);
    if (!setup)
        QFile::remove(path);
    return setup;
}

FileResult<> SavePrinterSetup(const QString& path, const PrinterSetup& setup)
{
    const QByteArray bytes = EncodePrinterSetup(setup);
    const AtomicWriteResult written = WriteFileAtomically(
        path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
    if (written.status == AtomicWriteResult::Status::Written)
        return std::monostate{};
    FileError error;
    error.message = QStringLiteral("The printer settings could not be saved.");
    error.cause = written.cause;
    return error;
}

} // namespace tvl
