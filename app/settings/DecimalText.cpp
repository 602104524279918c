#include "app/settings/DecimalText.h"

#include <limits>

namespace tvl {

qint32 DecimalValue(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r' ||
                               text[i] == u'\v' || text[i] == u'\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 limit = qint64(std::numeric_limits<qint32>::max()) + 1;
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        return static_cast<qint32>(-value);
    return static_cast<qint32>(qMin(value, limit - 1));
}

} // namespace tvl
