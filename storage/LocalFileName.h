#pragma once

#include <QByteArray>
#include <QString>

namespace tvl {

// Linux file names are bytes, not text. A name that is not valid UTF-8 keeps each byte that does not decode
// as a lone surrogate (U+DC80 to U+DCFF), so that FileNameBytes(FileNameFromBytes(b)) == b for any b and a
// file is always opened and written under its own name. Valid UTF-8 names give ordinary text.
QString FileNameFromBytes(QByteArrayView bytes);
QByteArray FileNameBytes(const QString& name);

} // namespace tvl
