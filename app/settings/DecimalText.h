#pragma once

#include <QStringView>
#include <QtGlobal>

namespace tvl {

// The decimal value of the leading digits of text, as the C library's atoi reads it: leading blanks,
// an optional sign, then digits; anything else ends the number and no digits give 0. Values beyond the
// 32-bit range are clamped instead of overflowing.
qint32 DecimalValue(QStringView text);

} // namespace tvl
