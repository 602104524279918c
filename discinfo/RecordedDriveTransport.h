#pragma once

#include "discinfo/DriveTransport.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>

namespace tvl {

// A drive transport that answers from recorded bytes: each command block (as hex text) maps to the data
// the drive returned. A command without a recording fails. It logs every request it receives.
class RecordedDriveTransport final : public DriveTransport
{
public:
    struct Drive
    {
        DriveInfo info;
        QString mountPoint;
        QHash<QByteArray, QByteArray> answers; // key: command block as lower-case hex
    };

    explicit RecordedDriveTransport(std::vector<Drive> drives);

    // Requests in the order received: "stop <device>" or "<device> <hex command> <length> <time-out>".
    const QStringList& Log() const { return log; }

    std::vector<DriveInfo> ListDrives() override;
    QString MountPoint(const QString& device) override;
    bool StopAudio(const QString& device) override;
    bool SendCommand(const QString& device, std::span<const uint8_t, 10> commandBlock,
                     std::span<uint8_t> dataIn, int timeoutMs) override;

private:
    const Drive* Find(const QString& device) const;

    std::vector<Drive> drives;
    QStringList log;
};

} // namespace tvl
