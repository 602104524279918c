#include "stock/LengthUnits.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace tvl {
namespace {

constexpr double kMilsPerMillimetre = 39.37007874015748;

int Clamped(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// The leading decimal integer of text (blanks, an optional sign, digits), saturated; 0 without digits.
long long LeadingInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    constexpr long long kLimit = 1LL << 40;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (value < kLimit)
            value = value * 10 + (text[i].unicode() - u'0');
    }
    return negative ? -value : value;
}

int ClampedInteger(long long value)
{
    return Clamped(static_cast<double>(value));
}

} // namespace

LengthUnits UnitsFromSetting(const QString& value)
{
    return value == u"Millimeters" ? LengthUnits::Millimeters : LengthUnits::Inches;
}

QString FormatLength(int value, LengthUnits units)
{
    if (units == LengthUnits::Millimeters)
        return QString::asprintf("%.1f mm", value * 0.0254);
    return QString::asprintf("%.3f ''", value * 0.001);
}

int ParseLength(const QString& text, LengthUnits units)
{
    if (units == LengthUnits::Millimeters) {
        // The C locale's number syntax, whatever the process locale is.
        static const QRegularExpression leadingNumber(
            QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
        const QRegularExpressionMatch match = leadingNumber.match(text);
        const float millimetres = match.hasMatch() ? match.captured().trimmed().toFloat() : 0.0f;
        return Clamped(std::trunc(static_cast<double>(millimetres) * kMilsPerMillimetre));
    }
    const qsizetype point = text.indexOf(u'.');
    if (point < 0)
        return ClampedInteger(LeadingInteger(text) * 1000);
    QString digits = text.left(point);
    for (qsizetype i = point + 1; i <= point + 3; ++i) {
        const bool digit = i < text.size() && text[i] >= u'0' && text[i] <= u'9';
        digits += digit ? text[i] : u'0';
    }
    return ClampedInteger(LeadingInteger(digits));
}

int StepLength(int value, LengthUnits units, int step)
{
    if (units == LengthUnits::Inches)
        return ClampedInteger(static_cast<long long>(value) + 10LL * step);
    const float shown = QString::asprintf("%.1f", value * 0.0254).toFloat();
    const double next = static_cast<double>(shown) + 0.1 * step;
    return ParseLength(QString::asprintf("%.1f", next), units);
}

} // namespace tvl
