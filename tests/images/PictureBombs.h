#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace tvl::test {

// A PNG whose header declares width × height pixels of a colour type (8 bits a sample) and whose one
// IDAT chunk holds `idat` as it stands.
QByteArray PngWithData(quint32 width, quint32 height, int colourType, const QByteArray& idat);
// The same with `rows` rows of real compressed data: far too few for the declared size.
QByteArray PngBomb(quint32 width, quint32 height, int colourType, int rows);
// A small baseline JPEG whose frame header is changed to declare width × height: its coded data covers
// a few blocks only.
QByteArray JpegBomb(quint16 width, quint16 height);

} // namespace tvl::test
