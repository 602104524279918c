#pragma once

#include <QString>

namespace tvl {

// One optical drive found by CdDriveAccess.
struct CdDriveEntry
{
    QString description;        // vendor and model as the kernel reports them
    QString compactDescription; // the description without blanks
    QString name;               // what the user sees: "/dev/sr0 (VENDOR MODEL)"
    QString device;             // where commands go: "/dev/sr0"
};

} // namespace tvl
