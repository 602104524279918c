#include "discinfo/FreedbOptions.h"

namespace tvl {

namespace {

constexpr QChar fieldEnd = u'`';
constexpr int fieldCount = 9;

} // namespace

QString DefaultFreedbOptionsText()
{
    return DiscDbServer::DefaultPublic().host +
           QStringLiteral("`80`/~cddb/cddb.cgi`Random freedb server`0`````");
}

QString CleanFreedbField(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (c != fieldEnd && c.category() != QChar::Other_Control)
            clean.append(c);
    }
    return clean;
}

FreedbOptions FreedbOptions::Parse(const QString& text)
{
    QStringList fields = (text.isEmpty() ? DefaultFreedbOptionsText() : text).split(fieldEnd);
    // The text after the last backquote ends no field.
    fields.removeLast();
    fields.resize(fieldCount);
    FreedbOptions options;
    options.server.host = fields[0];
    bool number = false;
    const int port = fields[1].toInt(&number);
    options.server.port = number ? port : 0;
    options.server.path = fields[2];
    options.server.description = fields[3];
    for (int i = 0; i < carriedFieldCount; ++i)
        options.carried[i] = fields[5 + i];
    return options;
}

QString FreedbOptions::Format() const
{
    const int port = server.port >= 1 && server.port <= 65535 ? server.port : 80;
    QString text = CleanFreedbField(server.host) + fieldEnd + QString::number(port) + fieldEnd +
                   CleanFreedbField(server.path) + fieldEnd + CleanFreedbField(server.description) +
                   fieldEnd + QStringLiteral("0") + fieldEnd;
    for (int i = 0; i < carriedFieldCount; ++i)
        text += CleanFreedbField(carried.value(i)) + fieldEnd;
    return text;
}

} // namespace tvl
