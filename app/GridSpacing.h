#pragma once

#include <QString>

#include <optional>

namespace tvl {

// The Grid Size dialog's conversions between a grid spacing in mils and the text of its fields.
inline constexpr double inchesPerMillimeter = 0.03937007874015748;

// "%.10f ''" in inches, or millimetres with four decimals (exact for whole mils) and " mm".
QString GridFieldText(int mils, bool millimeters);

// The spacing typed into a field: the leading number in the current units (a unit mark after it is
// ignored), × 1000 and truncated to mils, kept within 30..1000. Nothing when the text holds no number.
std::optional<int> GridFieldValue(const QString& text, bool millimeters);

} // namespace tvl
