#pragma once

#include "discinfo/DriveTransport.h"

#include <QString>

namespace tvl {

// Drive transport over the Linux SCSI generic pass-through (SG_IO) on /dev/sr* devices; drives are
// found and described through sysfs, mount points through /proc/self/mounts.
class SgTransport final : public DriveTransport
{
public:
    SgTransport() = default;
    // For tests: read sysfs and the mount table below other roots.
    SgTransport(QString sysBlockRoot, QString mountsFile);

    std::vector<DriveInfo> ListDrives() override;
    QString MountPoint(const QString& device) override;
    bool StopAudio(const QString& device) override;
    bool SendCommand(const QString& device, std::span<const uint8_t, 10> commandBlock,
                     std::span<uint8_t> dataIn, int timeoutMs) override;

private:
    QString sysBlockRoot = QStringLiteral("/sys/class/block");
    QString mountsFile = QStringLiteral("/proc/self/mounts");
};

} // namespace tvl
