#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tvl {

// The 8-bit code page of stored strings. Bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control of the same value so that every byte survives a round trip.
QString FromWindows1252(const QByteArray& bytes);

// The 8-bit form of text, or nothing when a character has no Windows-1252 byte.
std::optional<QByteArray> ToWindows1252(QStringView text);

} // namespace tvl
