#pragma once

#include <QByteArray>
#include <QSize>

namespace tvl::bench {

// A photograph-like picture: smooth colour gradients with grain, encoded as the JPEG a design keeps.
// The same seed every time, so runs compare.
QByteArray PhotographJpeg(QSize size);

} // namespace tvl::bench
