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

// Only this much of the file is read: thousands of discs fit, a device or a huge file cannot flood memory.
constexpr qsizetype maxCdPlayerFileSize = 1024 * 1024;
// Longer lines are skipped whole.
constexpr qsizetype maxCdPlayerLineLength = 64 * 1024;

// The first maxCdPlayerFileSize bytes of the file at path, or the reason there are none when it cannot be
// opened or is not a regular file (or a link to one): a FIFO or device is never read, so the reader can
// neither block nor read forever.
Result<QByteArray, QString> ReadCdPlayerBytes(const QString& path);

// The disc's record from the CD player's database file at path, with the source "CDPlayer.ini";
// nothing when the file cannot be read or has no section for the disc.
std::optional<DiscRecord> ReadCdPlayerFile(const DiscToc& toc, const QString& path);

// The same from the file's bytes (UTF-8 when they are valid UTF-8, else ISO 8859-1). Lines longer than
// maxCdPlayerLineLength bytes are skipped.
std::optional<DiscRecord> ReadCdPlayerText(const DiscToc& toc, const QByteArray& bytes);

} // namespace tvl
