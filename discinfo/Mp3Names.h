#pragma once

#include <QString>

namespace tvl {

// A track name from an MP3 file's path: the base name without its extension, "_" as blanks, runs of
// blanks and blanks around "-" folded into "-", and each word capitalised ("01_-_my_song.mp3" gives
// "01-my Song").
QString Mp3NameFromFileName(const QString& path);

// A track name from an ID3 tag's artist and title ("artist-title", or the one that is present),
// cleaned like a file name but keeping its case. Empty when both are empty.
QString Mp3NameFromTag(const QString& artist, const QString& title);

} // namespace tvl
