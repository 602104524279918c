#pragma once

#include <QString>
#include <QStringList>

namespace tvl {

// The strings of a disc's first CD-TEXT block.
struct CdTextAlbum
{
    QStringList trackEntries; // indexed by track number; entry 0 unused
    QString artist;
    QString title;
    QString message;

    bool IsEmpty() const { return artist.isEmpty() && title.isEmpty() && trackEntries.size() <= 1; }
};

} // namespace tvl
