#pragma once

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace tvl {

// One optical drive as the platform reports it.
struct DriveInfo
{
    QString device; // the address commands go to, for example "/dev/sr0"
    QString vendor;
    QString model;
};

// What drive access needs of the platform: the optical drives, stopping audio play, and 10-byte command
// blocks with a data-in buffer and a time-out. Implementations must be usable from one thread at a time.
class DriveTransport
{
public:
    virtual ~DriveTransport() = default;

    virtual std::vector<DriveInfo> ListDrives() = 0;
    // The folder where the drive's data disc is mounted; empty when it is not mounted.
    virtual QString MountPoint(const QString& device) = 0;
    virtual bool StopAudio(const QString& device) = 0;
    // Sends the command and fills dataIn with what the drive returns (the rest stays as it was). True
    // when the drive completed the command without an error status.
    virtual bool SendCommand(const QString& device, std::span<const uint8_t, 10> commandBlock,
                             std::span<uint8_t> dataIn, int timeoutMs) = 0;
};

} // namespace tvl
