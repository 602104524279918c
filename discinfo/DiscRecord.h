#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace tvl {

// One set of album data found for a disc: a disc-database entry, or what CD-TEXT or the CD player's
// file gave. source names where it came from ("Freedb", "CD-TEXT", "CDPlayer.ini").
struct DiscRecord
{
    QList<int> trackFrameOffsets;
    int discLength = 0; // seconds
    int revision = 0;
    QString submitterName;
    QString submitterVersion;
    QString source;
    uint32_t discId = 0;
    QString artist;
    QString title;
    QStringList trackTitles; // index = track number - 1
    QString extendedData;
    QStringList extendedTrackData;
    QList<int> playOrder;
    int year = 0; // 0 = none
    QString genre;
};

} // namespace tvl
