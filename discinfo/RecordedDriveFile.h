#pragma once

#include "base/Result.h"
#include "discinfo/DriveTransport.h"
#include "discinfo/RecordedDriveTransport.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace tvl {

// Names a file of recorded drives that the program uses instead of the real ones (for tests, and for
// reporting a problem with a disc without the disc).
inline constexpr char recordedDrivesVariable[] = "TOVRELLINE_RECORDED_DRIVES";

// Reads recorded drives from JSON of this form (every member but "device" may be left out):
//
//   {"drives": [{"device": "/dev/sr0", "vendor": "ACME", "model": "Burner",
//                "toc": "150 14270 27000",
//                "cdText": "<hex of the READ TOC format 5 answer>",
//                "mountPoint": "folder of the data disc's files",
//                "answers": {"<command block as 20 hex digits>": "<hex of the data returned>"}}]}
//
// "toc" is the table of contents as frame offsets (a data track's with a leading "d", the lead-out
// last), the form `tovrelline disc-info --toc` takes; it answers READ TOC. A drive without "toc" and
// without a READ TOC answer is an empty drive. A relative mountPoint is taken from the file's folder.
// The reason when the text is not of this form.
using RecordedDrives = std::vector<RecordedDriveTransport::Drive>;
Result<RecordedDrives, QString> ParseRecordedDrives(const QByteArray& json, const QString& baseFolder);

// The drives the program talks to: the recorded drives of the file the environment variable names (read
// again on every call, so that a test can "insert" a disc), or else the machine's optical drives. A
// recorded-drives file that cannot be read gives no drives and says why on the standard error stream.
std::shared_ptr<DriveTransport> OpenDriveTransport();

} // namespace tvl
