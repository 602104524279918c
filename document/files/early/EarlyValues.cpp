#include "document/files/early/EarlyValues.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <string>

namespace tvl {
namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype SkipBlanks(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

qsizetype SkipDigits(QStringView text, qsizetype at)
{
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

// The leading decimal number (sign, digits, fraction, exponent) as the C library would scan it,
// independent of the locale's decimal point.
std::string LeadingNumberText(QStringView text)
{
    const qsizetype start = SkipBlanks(text);
    qsizetype at = start;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        ++at;
    const qsizetype intStart = at;
    at = SkipDigits(text, at);
    bool digits = at > intStart;
    if (at < text.size() && text[at] == u'.') {
        const qsizetype fractionStart = at + 1;
        const qsizetype fractionEnd = SkipDigits(text, fractionStart);
        if (digits || fractionEnd > fractionStart) {
            digits = true;
            at = fractionEnd;
        }
    }
    if (!digits)
        return {};
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        qsizetype exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == u'+' || text[exponent] == u'-'))
            ++exponent;
        const qsizetype exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent)
            at = exponentEnd;
    }
    std::string number = text.mid(start, at - start).toLatin1().toStdString();
    if (!number.empty() && number.front() == '+')
        number.erase(0, 1);
    return number;
}

int ClampToInt(double value)
{
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(value, low, high));
}

// The text after the n-th comma (n counted from 1), or nothing.
QStringView AfterComma(QStringView text, int n)
{
    qsizetype at = -1;
    for (int i = 0; i < n; ++i) {
        at = text.indexOf(u',', at + 1);
        if (at < 0)
            return {};
    }
    return text.mid(at + 1);
}

struct AlignmentRow
{
    std::u16string_view alignment;
    std::array<std::u16string_view, 4> byAngle; // 0, 90, 180 and 270 degrees
};

constexpr AlignmentRow alignmentTable[] = {
    {u"Top Left", {u"Left", u"Right", u"Right", u"Left"}},
    {u"Top", {u"Center", u"Right", u"Center", u"Left"}},
    {u"Top Right", {u"Right", u"Right", u"Left", u"Left"}},
    {u"Left", {u"Left", u"Center", u"Right", u"Center"}},
    {u"Center", {u"Center", u"Center", u"Center", u"Center"}},
    {u"Right", {u"Right", u"Center", u"Left", u"Center"}},
    {u"Bottom Left", {u"Left", u"Left", u"Right", u"Right"}},
    {u"Bottom", {u"Center", u"Left", u"Center", u"Right"}},
    {u"Bottom Right", {u"Right", u"Left", u"Left", u"Right"}},
};

constexpr std::u16string_view angles[] = {u"0 degrees", u"90 degrees", u"180 degrees", u"270 degrees"};

} // namespace

int EarlyLength(QStringView text)
{
    const std::string number = LeadingNumberText(text);
    if (number.empty())
        return 0;
    float value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        return number.front() == '-' ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    if (error != std::errc())
        return 0;
    // The product is formed in double precision: the single-precision 1.938 is 1.93799996…, which
    // gives 1937.
    return ClampToInt(static_cast<double>(value) * 1000.0);
}

int LeadingInteger(QStringView text)
{
    qsizetype at = SkipBlanks(text);
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    constexpr long long limit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long value = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at)
        value = std::min(limit, value * 10 + (text[at].unicode() - u'0'));
    return static_cast<int>(std::clamp<long long>(negative ? -value : value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

ItemColor EarlyColor(QStringView text)
{
    const auto component = [](QStringView part) {
        return static_cast<ItemColor>(static_cast<unsigned>(LeadingInteger(part)) & 0xffu);
    };
    return component(text) | component(AfterComma(text, 1)) << 8 | component(AfterComma(text, 2)) << 16;
}

ItemFont EarlyFont(QStringView fontRow, QStringView sizeRow)
{
    ItemFont font;
    const qsizetype comma = fontRow.indexOf(u',');
    font.faceName = (comma < 0 ? fontRow : fontRow.left(comma)).left(ItemFont::kMaxFaceLength).toString();
    font.weight = LeadingInteger(AfterComma(fontRow, 2));
    font.italic = LeadingInteger(AfterComma(fontRow, 3)) != 0 ? 1 : 0;
    const qsizetype backquote = sizeRow.indexOf(u'`');
    const int height = backquote < 0 ? 400 : LeadingInteger(sizeRow.left(backquote));
    font.height = std::clamp(height, ItemFont::kMinHeight, ItemFont::kMaxHeight);
    return font;
}

std::optional<QString> AlignmentForAngle(QStringView alignment, QStringView angle)
{
    for (size_t column = 0; column < std::size(angles); ++column) {
        if (angle != QStringView(angles[column]))
            continue;
        for (const AlignmentRow& row : alignmentTable) {
            if (alignment == QStringView(row.alignment)) {
                const std::u16string_view result = row.byAngle[column];
                return QString::fromUtf16(result.data(), static_cast<qsizetype>(result.size()));
            }
        }
    }
    return std::nullopt;
}

} // namespace tvl
