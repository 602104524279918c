#include "app/GridSpacing.h"

#include "app/settings/AppSettings.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace tvl {

QString GridFieldText(int mils, bool millimeters)
{
    if (millimeters)
        return QString::asprintf("%.4f mm", mils * 0.0254);
    return QString::asprintf("%.10f ''", mils / 1000.0);
}

std::optional<int> GridFieldValue(const QString& text, bool millimeters)
{
    static const QRegularExpression leadingNumber(
        QStringLiteral("^\\s*([+-]?(?:\\d+(?:[.,]\\d*)?|[.,]\\d+))"));
    const QRegularExpressionMatch match = leadingNumber.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QString number = match.captured(1);
    number.replace(u',', u'.');
    bool ok = false;
    double inches = QLocale::c().toDouble(number, &ok);
    if (!ok)
        return std::nullopt;
    if (millimeters)
        inches *= inchesPerMillimeter;
    // The small allowance keeps a value that is exactly whole mils (2.54 mm) from truncating one below.
    const double mils = std::trunc(inches * 1000.0 + 1e-6);
    return int(qBound<double>(gridSizeMin, mils, gridSizeMax));
}

} // namespace tvl
