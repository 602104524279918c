#include "discinfo/CdDriveAccess.h"

#include "discinfo/CdText.h"

#include <utility>

namespace tvl {

namespace {

// READ TOC/PMA/ATIP with MSF addresses: format 0 (the table) for 804 bytes, format 5 (CD-TEXT) for 5000.
constexpr std::array<uint8_t, 10> readTocCommand = {0x43, 0x02, 0x00, 0x00, 0x00,
                                                    0x00, 0x00, 0x03, 0x24, 0x00};
constexpr std::array<uint8_t, 10> readCdTextCommand = {0x43, 0x02, 0x05, 0x00, 0x00,
                                                       0x00, 0x00, 0x13, 0x88, 0x00};

} // namespace

CdDriveAccess::CdDriveAccess(std::shared_ptr<DriveTransport> transport)
    : transport(std::move(transport))
{
}

bool CdDriveAccess::Initialise()
{
    if (initialised || !transport)
        return false;
    for (const DriveInfo& info : transport->ListDrives()) {
        CdDriveEntry entry;
        entry.description = (info.vendor + u' ' + info.model).simplified();
        entry.compactDescription = QString(entry.description).remove(u' ');
        entry.device = info.device;
        entry.name = entry.description.isEmpty()
                         ? info.device
                         : info.device + QStringLiteral(" (") + entry.description + u')';
        drives.push_back(entry);
    }
    initialised = true;
    return true;
}

int CdDriveAccess::GetDriveCount() const
{
    return initialised ? static_cast<int>(drives.size()) : 0;
}

QString CdDriveAccess::GetDriveName(int i) const
{
    return i >= 0 && i < GetDriveCount() ? drives[static_cast<size_t>(i)].name : QString();
}

QString CdDriveAccess::GetDriveDevice(int i) const
{
    return i >= 0 && i < GetDriveCount() ? drives[static_cast<size_t>(i)].device : QString();
}

QString CdDriveAccess::GetMountPoint(int i) const
{
    const QString device = GetDriveDevice(i);
    return device.isEmpty() ? QString() : transport->MountPoint(device);
}

int CdDriveAccess::ReadTableOfContents(int i, DiscToc& toc, bool readCdText, CdTextAlbum& album,
                                       const std::function<void(const QString&)>& statusText)
{
    const QString device = GetDriveDevice(i);
    if (device.isEmpty())
        return -1;
    transport->StopAudio(device);
    toc.bytes.fill(0);
    if (!transport->SendCommand(device, readTocCommand, toc.bytes, tocTimeoutMs)) {
        toc.bytes.fill(0);
        return -1;
    }
    if (readCdText) {
        if (statusText)
            statusText(QStringLiteral(" Scanning CD-TEXT "));
        cdTextBuffer.fill(0);
        if (transport->SendCommand(device, readCdTextCommand, cdTextBuffer, cdTextTimeoutMs))
            ParseCdText(cdTextBuffer, album);
    }
    return 1;
}

} // namespace tvl
