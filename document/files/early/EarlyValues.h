#pragma once

#include "document/model/CRichChild.h"

#include <QString>
#include <optional>

namespace tvl {

// The value texts of early property rows.

// A length in inches with decimals ("4.625") as thousandths of an inch: the leading number is read in
// single precision, multiplied by 1000 and truncated toward zero, so "1.938" gives 1937. Text without a
// leading number gives 0; values beyond the integer range are held at its ends.
int EarlyLength(QStringView text);

// The leading decimal integer of the text after optional blanks and a sign, 0 when there is none;
// held within the integer range.
int LeadingInteger(QStringView text);

// "red,green,blue" as a colour 0x00BBGGRR; each component keeps its low eight bits.
ItemColor EarlyColor(QStringView text);

// The font row "face,unused,weight,italic" with the size row "height`…" (tenths of a point, 400 when
// there is no backquote). The face keeps at most 31 characters and the height stays within 25 … 5000.
ItemFont EarlyFont(QStringView fontRow, QStringView sizeRow);

// The old nine-position alignment ("Top Left" … "Bottom Right") as "Left", "Center" or "Right" for a
// text at that angle; nothing for an angle or alignment outside the table.
std::optional<QString> AlignmentForAngle(QStringView alignment, QStringView angle);

} // namespace tvl
