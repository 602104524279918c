#pragma once

#include "discinfo/CdDriveEntry.h"
#include "discinfo/CdTextAlbum.h"
#include "discinfo/DiscToc.h"
#include "discinfo/DriveTransport.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace tvl {

// Finds the optical drives and reads a disc's table of contents and CD-TEXT through a drive transport.
// Used by one thread at a time; the drive list is filled once by Initialise.
class CdDriveAccess
{
public:
    static constexpr int cdTextBufferSize = 5000;
    static constexpr int tocTimeoutMs = 5000;
    static constexpr int cdTextTimeoutMs = 10000;

    explicit CdDriveAccess(std::shared_ptr<DriveTransport> transport);

    // Enumerates the drives; false when already initialised.
    bool Initialise();
    int GetDriveCount() const;
    // Empty when i is out of range.
    QString GetDriveName(int i) const;
    // The device of drive i ("/dev/sr0"); empty when i is out of range.
    QString GetDriveDevice(int i) const;
    // The folder where the data disc in drive i is mounted; empty when none.
    QString GetMountPoint(int i) const;

    // Reads the table of contents of the disc in drive i into toc (zeroed first) and, when readCdText
    // is set and the table was read, the CD-TEXT into album. statusText, when given, is told
    // " Scanning CD-TEXT " before the CD-TEXT request. Returns 1 on success, -1 when not initialised,
    // i is out of range or the read failed; callers judge by the track numbers in toc.
    int ReadTableOfContents(int i, DiscToc& toc, bool readCdText, CdTextAlbum& album,
                            const std::function<void(const QString&)>& statusText = {});

    // Raw CD-TEXT data of the last read.
    const std::array<uint8_t, cdTextBufferSize>& CdTextBuffer() const { return cdTextBuffer; }

private:
    std::shared_ptr<DriveTransport> transport;
    bool initialised = false;
    std::vector<CdDriveEntry> drives;
    std::array<uint8_t, cdTextBufferSize> cdTextBuffer{};
};

} // namespace tvl
