#pragma once

#include "document/archive/ArchiveRecord.h"

#include <QString>
#include <array>
#include <optional>

namespace tvl {

// The six album fields of one disc, in their stored order.
enum class AlbumField
{
    Artist,
    Title,
    TrackList,
    Year,
    Time,
    Genre,
};

inline constexpr int kAlbumFieldCount = 6;

// The design header: the surface shown when the design was saved, the disc mode, the case kind and
// the album data of up to two discs. Every album value ends with the cell terminator.
class CAlbumInfo : public ArchiveRecord
{
public:
    static const RecordClass& Class();
    const RecordClass& recordClass() const override { return Class(); }
    // The header as current designs store it. Version-300 files lack the final case kind: set
    // headerWithoutCaseKind before reading those.
    void Serialize(CArchive& archive) override;

    int legacyValue = 0;
    QString currentSurface;
    QString currentPageCode;
    QString discMode;
    QString caseKind;
    int legacyImageCount = 0;
    int legacyImageSerial = 0;
    std::array<std::array<QString, kAlbumFieldCount>, 2> discs;

    bool headerWithoutCaseKind = false;

    QString& Field(int disc, AlbumField field) { return discs[disc][static_cast<int>(field)]; }
    const QString& Field(int disc, AlbumField field) const { return discs[disc][static_cast<int>(field)]; }

    // The album value an item name links to: the name before its first "(" is one of the keys
    // "Artist", "Title", "Track List", "Year", "Time", "Genre", optionally followed by " - Disc 1" or
    // " - Disc 2". Any other name gives the empty string.
    QString LinkedAlbumText(QStringView itemName) const;
    // Stores a value under the same keys; returns false when the key names no album field.
    bool SetAlbumField(QStringView key, const QString& value);

    // The disc (0 or 1) and field a key or item name addresses.
    struct FieldRef
    {
        int disc;
        AlbumField field;
    };
    static std::optional<FieldRef> ParseKey(QStringView key);
};

// The key of a disc-1 album field ("Artist" … "Genre"); " - Disc 2" is appended for disc 2.
QString AlbumFieldKey(AlbumField field);

} // namespace tvl
