#include "document/archive/Windows1252.h"

#include <array>

namespace tvl {
namespace {

// Code points of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> highControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<char> ByteFor(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (size_t i = 0; i < highControls.size(); ++i) {
        if (highControls[i] == unit)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

QString FromWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = QChar(value >= 0x80 && value < 0xA0 ? highControls[value - 0x80] : char16_t(value));
    }
    return text;
}

std::optional<QByteArray> ToWindows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar ch : text) {
        const auto byte = ByteFor(ch.unicode());
        if (!byte)
            return std::nullopt;
        *out++ = *byte;
    }
    return bytes;
}

} // namespace tvl
