#pragma once

#include <QString>

namespace tvl {

// The unit every length is shown and typed in (setting Units: "Inches" or "Millimeters").
enum class LengthUnits
{
    Inches,
    Millimeters,
};

// "Millimeters" gives millimetres; anything else inches, the default.
LengthUnits UnitsFromSetting(const QString& value);

// A length in thousandths of an inch as shown: "1.938 ''" or "49.2 mm".
QString FormatLength(int value, LengthUnits units);

// A typed length in thousandths of an inch. Inches are read without floating point: the digits before
// the point followed by exactly three places after it, where anything that is not a digit counts as 0
// ("1.5''" gives 1500, "0.0625" gives 62). Millimetres read the leading number in single precision and
// truncate (25.4 gives 999). Text without a number gives 0; results beyond the int range are clamped.
int ParseLength(const QString& text, LengthUnits units);

// One click of an up-down arrow (step +1 or -1): 0.010 inch, or 0.1 of the shown millimetres.
int StepLength(int value, LengthUnits units, int step);

} // namespace tvl
