#include "discinfo/RecordedDriveTransport.h"

#include <algorithm>
#include <utility>

namespace tvl {

RecordedDriveTransport::RecordedDriveTransport(std::vector<Drive> drives)
    : drives(std::move(drives))
{
}

const RecordedDriveTransport::Drive* RecordedDriveTransport::Find(const QString& device) const
{
    for (const Drive& drive : drives) {
        if (drive.info.device == device)
            return &drive;
    }
    return nullptr;
}

std::vector<DriveInfo> RecordedDriveTransport::ListDrives()
{
    std::vector<DriveInfo> infos;
    for (const Drive& drive : drives)
        infos.push_back(drive.info);
    return infos;
}

QString RecordedDriveTransport::MountPoint(const QString& device)
{
    const Drive* drive = Find(device);
    return drive ? drive->mountPoint : QString();
}

bool RecordedDriveTransport::StopAudio(const QString& device)
{
    log.append(QStringLiteral("stop ") + device);
    return Find(device) != nullptr;
}

bool RecordedDriveTransport::SendCommand(const QString& device, std::span<const uint8_t, 10> commandBlock,
                                         std::span<uint8_t> dataIn, int timeoutMs)
{
    const QByteArray key =
        QByteArray(reinterpret_cast<const char*>(commandBlock.data()), commandBlock.size()).toHex();
    log.append(QStringLiteral("%1 %2 %3 %4")
                   .arg(device, QString::fromLatin1(key))
                   .arg(dataIn.size())
                   .arg(timeoutMs));
    const Drive* drive = Find(device);
    if (!drive)
        return false;
    const auto answer = drive->answers.constFind(key);
    if (answer == drive->answers.cend())
        return false;
    const size_t count = std::min(dataIn.size(), static_cast<size_t>(answer->size()));
    std::copy_n(reinterpret_cast<const uint8_t*>(answer->constData()), count, dataIn.begin());
    return true;
}

} // namespace tvl
