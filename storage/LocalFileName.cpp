#include "storage/LocalFileName.h"

namespace tvl {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the well-formed UTF-8 sequence at the start of bytes, or 0 when it is not one.
qsizetype Utf8SequenceLength(QByteArrayView bytes)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    qsizetype length = 0;
    char32_t lowest = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    char32_t code = lead & (0xFF >> (length + 1));
    for (qsizetype i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, encoded surrogates and code points beyond Unicode are not text.
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString FileNameFromBytes(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    while (!bytes.isEmpty()) {
        const qsizetype length = Utf8SequenceLength(bytes);
        if (length == 0) {
            name.append(QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[0]))));
            bytes = bytes.sliced(1);
            continue;
        }
        name.append(QString::fromUtf8(bytes.first(length)));
        bytes = bytes.sliced(length);
    }
    return name;
}

QByteArray FileNameBytes(const QString& name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) {
        bytes.append(QStringView(name).sliced(runStart, end - runStart).toUtf8());
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        const bool escaped = unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF &&
                             !(i > 0 && name[i - 1].isHighSurrogate());
        if (!escaped)
            continue;
        flushRun(i);
        bytes.append(static_cast<char>(unit - kEscapeBase));
        runStart = i + 1;
    }
    flushRun(name.size());
    return bytes;
}

} // namespace tvl
