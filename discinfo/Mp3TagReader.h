#pragma once

#include <QString>

namespace tvl {

// The track name from an MP3 file's ID3 tag: the lead artist (TPE1) and title (TIT2) of its ID3v2
// tag, or the artist and title of its ID3v1 tag when it has no ID3v2 tag. Empty when the file cannot
// be read or carries neither.
QString ReadMp3TagName(const QString& path);

} // namespace tvl
