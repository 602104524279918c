#include "discinfo/DiscDbAnswer.h"

#include <algorithm>
#include <limits>

namespace tvl {

QString AnswerBody(const QString& answer)
{
    const qsizetype header = answer.indexOf(QLatin1StringView("\r\n\r\n"));
    return header < 0 ? answer : answer.mid(header + 4);
}

int ProtocolStatus(const QString& body)
{
    if (body.size() < 3)
        return -1;
    int code = 0;
    for (qsizetype i = 0; i < 3; ++i) {
        const QChar c = body[i];
        if (c < u'0' || c > u'9')
            return -1;
        code = code * 10 + (c.unicode() - u'0');
    }
    return code;
}

int LeadingInt(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<long long>(value * 10 + (text[i].unicode() - u'0'), std::numeric_limits<int>::max());
    return static_cast<int>(negative ? -value : value);
}

std::optional<uint32_t> LeadingHex(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    uint32_t value = 0;
    int digits = 0;
    for (; i < text.size() && digits < 8; ++i, ++digits) {
        const char16_t c = text[i].unicode();
        uint32_t digit = 0;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            break;
        value = value * 16 + digit;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

QStringList SplitAnswerLines(const QString& body)
{
    QStringList lines = body.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace tvl
