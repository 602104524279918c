#include "images/ImageLimits.h"

#include <atomic>

namespace tvl {

namespace {
std::atomic<int> limitSide{20000};
std::atomic<qint64> limitPixels{200'000'000};
} // namespace

int ImageLimits::maxSide()
{
    return limitSide.load();
}

qint64 ImageLimits::maxPixels()
{
    return limitPixels.load();
}

void ImageLimits::setLimits(int maxSide, qint64 maxPixels)
{
    limitSide = maxSide;
    limitPixels = maxPixels;
}

bool ImageLimits::check(qint64 width, qint64 height, QString& error)
{
    if (width <= 0 || height <= 0) {
        error = QStringLiteral("Invalid image size");
        return false;
    }
    if (width > maxSide() || height > maxSide() || width * height > maxPixels()) {
        error = QStringLiteral("Image too large: %1 x %2 pixels").arg(width).arg(height);
        return false;
    }
    return true;
}

bool ImageLimits::checkData(qint64 decodedBytes, qint64 dataBytes, qint64 maxRatio, QString& error)
{
    if (dataBytes > 0 && decodedBytes / maxRatio < dataBytes)
        return true;
    error = QStringLiteral("Image data too short for its size");
    return false;
}

} // namespace tvl
