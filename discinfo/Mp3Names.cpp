#include "discinfo/Mp3Names.h"

#include <algorithm>

namespace tvl {

namespace {

void FoldDashes(QString& name, bool withTripleBlanks)
{
    if (withTripleBlanks)
        name.replace(QLatin1StringView("   "), QLatin1StringView("-"));
    for (const char* run : {"  ", " - ", " -", "- "})
        name.replace(QLatin1StringView(run), QLatin1StringView("-"));
}

} // namespace

QString Mp3NameFromFileName(const QString& path)
{
    QString name = path.chopped(std::min<qsizetype>(4, path.size()));
    name = name.mid(name.lastIndexOf(u'/') + 1);
    name.replace(u'_', u' ');
    name = name.trimmed();
    FoldDashes(name, true);
    name = name.toLower();
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (i == 0 || (name[i] != u' ' && name[i - 1] == u' '))
            name[i] = name[i].toUpper();
    }
    return name;
}

QString Mp3NameFromTag(const QString& artist, const QString& title)
{
    QString name = artist;
    if (!title.isEmpty()) {
        if (!name.isEmpty())
            name += u'-';
        name += title;
    }
    if (name.isEmpty())
        return name;
    name.replace(u'_', u' ');
    name = name.trimmed();
    FoldDashes(name, false);
    return name;
}

} // namespace tvl
