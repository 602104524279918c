#pragma once

#include "images/CxImage.h"

#include <QFile>
#include <QString>

#include <cstdlib>
#include <gtest/gtest.h>

namespace tvl::test {

inline QString fixture(const char* name)
{
    return QStringLiteral(TOVRELLINE_TEST_DATA "/") + QLatin1StringView(name);
}

inline QByteArray fixtureBytes(const char* name)
{
    QFile file(fixture(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// True when every channel (alpha included) lies within `tolerance` of the expected colour.
inline testing::AssertionResult colorNear(QRgb actual, QRgb expected, int tolerance)
{
    const int d[4] = {qRed(actual) - qRed(expected), qGreen(actual) - qGreen(expected),
                      qBlue(actual) - qBlue(expected), qAlpha(actual) - qAlpha(expected)};
    for (int v : d) {
        if (std::abs(v) > tolerance)
            return testing::AssertionFailure() << QStringLiteral("colour #%1, expected #%2")
                                                      .arg(actual, 8, 16, QLatin1Char('0'))
                                                      .arg(expected, 8, 16, QLatin1Char('0'))
                                                      .toStdString();
    }
    return testing::AssertionSuccess();
}

// The four 16 × 16 quadrants of quad.*: red, lime, blue, white.
inline void expectQuad(const CxImage& image, int tolerance)
{
    ASSERT_TRUE(image.IsValid()) << image.lastError().toStdString();
    ASSERT_EQ(image.Width(), 32);
    ASSERT_EQ(image.Height(), 32);
    EXPECT_TRUE(colorNear(image.PixelColor(8, 8), qRgb(255, 0, 0), tolerance));
    EXPECT_TRUE(colorNear(image.PixelColor(24, 8), qRgb(0, 255, 0), tolerance));
    EXPECT_TRUE(colorNear(image.PixelColor(8, 24), qRgb(0, 0, 255), tolerance));
    EXPECT_TRUE(colorNear(image.PixelColor(24, 24), qRgb(255, 255, 255), tolerance));
    EXPECT_TRUE(colorNear(image.PixelColor(0, 0), qRgb(255, 0, 0), tolerance));
    EXPECT_TRUE(colorNear(image.PixelColor(31, 31), qRgb(255, 255, 255), tolerance));
}

} // namespace tvl::test
