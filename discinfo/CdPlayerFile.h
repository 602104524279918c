#pragma once

#include "discinfo/DiscRecord.h"
#include "discinfo/DiscToc.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace tvl {

// The key under which the CD player's database file (cdplayer.ini) keeps a disc.
uint32_t CdPlayerKey(const DiscToc& toc);

// "[" + the key in upper-case hexadecimal + "]".
QString CdPlayerSectionHeader(const DiscToc& toc);

// The disc's record from the CD player's database file at path, with the source "CDPlayer.ini";
// nothing when the file cannot be read or has no section for the disc.
std::optional<DiscRecord> ReadCdPlayerFile(const DiscToc& toc, const QString& path);

// The same from the file's bytes (UTF-8 when they are valid UTF-8, else ISO 8859-1).
std::optional<DiscRecord> ReadCdPlayerText(const DiscToc& toc, const QByteArray& bytes);

} // namespace tvl
