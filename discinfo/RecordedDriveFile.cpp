#include "discinfo/RecordedDriveFile.h"

#include "discinfo/DiscToc.h"
#include "discinfo/SgTransport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace tvl {

namespace {

const QByteArray readTocCommand = QByteArrayLiteral("43020000000000032400");
const QByteArray readCdTextCommand = QByteArrayLiteral("43020500000000138800");

bool IsHex(const QString& text)
{
    for (const QChar c : text) {
        if (!c.isDigit() && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
            return false;
    }
    return text.size() % 2 == 0;
}

} // namespace

Result<RecordedDrives, QString> ParseRecordedDrives(const QByteArray& json, const QString& baseFolder)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("not JSON: ") + error.errorString();
    const QJsonValue list = document.object().value(QStringLiteral("drives"));
    if (!list.isArray())
        return QStringLiteral("no \"drives\" list");
    RecordedDrives drives;
    for (const QJsonValue& value : list.toArray()) {
        const QJsonObject object = value.toObject();
        RecordedDriveTransport::Drive drive;
        drive.info.device = object.value(QStringLiteral("device")).toString();
        if (drive.info.device.isEmpty())
            return QStringLiteral("a drive without \"device\"");
        drive.info.vendor = object.value(QStringLiteral("vendor")).toString();
        drive.info.model = object.value(QStringLiteral("model")).toString();
        const QString mountPoint = object.value(QStringLiteral("mountPoint")).toString();
        if (!mountPoint.isEmpty())
            drive.mountPoint = QDir(baseFolder).absoluteFilePath(mountPoint);
        const QJsonObject answers = object.value(QStringLiteral("answers")).toObject();
        for (auto answer = answers.begin(); answer != answers.end(); ++answer) {
            const QString data = answer.value().toString();
            if (answer.key().size() != 20 || !IsHex(answer.key()) || !IsHex(data))
                return QStringLiteral("answers map command blocks to data, both in hex");
            drive.answers.insert(answer.key().toLower().toLatin1(), QByteArray::fromHex(data.toLatin1()));
        }
        if (const QJsonValue toc = object.value(QStringLiteral("toc")); toc.isString()) {
            const auto parsed = DiscToc::FromText(toc.toString());
            if (!parsed)
                return QStringLiteral("toc of %1: %2").arg(drive.info.device, parsed.error());
            drive.answers.insert(
                readTocCommand,
                QByteArray(reinterpret_cast<const char*>(parsed.value().bytes.data()), DiscToc::byteCount));
        }
        if (const QJsonValue cdText = object.value(QStringLiteral("cdText")); cdText.isString()) {
            if (!IsHex(cdText.toString()))
                return QStringLiteral("cdText must be hex");
            drive.answers.insert(readCdTextCommand, QByteArray::fromHex(cdText.toString().toLatin1()));
        }
        drives.push_back(std::move(drive));
    }
    return drives;
}

std::shared_ptr<DriveTransport> OpenDriveTransport()
{
    const QString path = qEnvironmentVariable(recordedDrivesVariable);
    if (path.isEmpty())
        return std::make_shared<SgTransport>();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s: %s\n", recordedDrivesVariable, qPrintable(path),
                     qPrintable(file.errorString()));
        return std::make_shared<RecordedDriveTransport>(RecordedDrives());
    }
    auto drives = ParseRecordedDrives(file.read(1024 * 1024), QFileInfo(path).absolutePath());
    if (!drives) {
        std::fprintf(stderr, "%s: %s: %s\n", recordedDrivesVariable, qPrintable(path),
                     qPrintable(drives.error()));
        return std::make_shared<RecordedDriveTransport>(RecordedDrives());
    }
    return std::make_shared<RecordedDriveTransport>(std::move(drives.value()));
}

} // namespace tvl
