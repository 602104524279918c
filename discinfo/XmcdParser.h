#pragma once

#include "discinfo/DiscRecord.h"

#include <QString>

namespace tvl {

// Highest track index accepted from TTITLEn and EXTTn lines; higher indexes are ignored.
constexpr int maxXmcdTrackIndex = 99;

// Decodes the escapes of an xmcd value in one left-to-right pass: backslash-n a line feed, backslash-t
// a tab, two backslashes one backslash; any other backslash stays.
QString DecodeXmcdValue(const QString& value);

// Parses a read answer's body (status line first) into record. False when the status is not 210-219
// (the entry was not sent) or the entry is not a valid xmcd entry; record is reset only when an entry
// body was present.
bool ParseXmcdEntry(const QString& body, DiscRecord& record);

} // namespace tvl
