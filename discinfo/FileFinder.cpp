#include "discinfo/FileFinder.h"

#include <QDir>
#include <QDirIterator>

#include <utility>

namespace tvl {

FileFinder::FileFinder(std::function<bool()> stopRequested)
    : stopRequested(std::move(stopRequested))
{
}

void FileFinder::Search(const QString& startFolder, const QString& patterns, bool recursive)
{
    QString start = startFolder;
    while (start.size() > 1 && (start.endsWith(u'/') || start.endsWith(u'\\')))
        start.chop(1);
    const QStringList patternList = patterns.split(u';', Qt::SkipEmptyParts);
    ListFiles(start, patternList);
    if (recursive)
        Visit(start, patternList);
    if (!Aborted())
        folders.append(start);
}

void FileFinder::ListFiles(const QString& folder, const QStringList& patterns)
{
    for (const QString& pattern : patterns) {
        QDirIterator it(folder, {pattern}, QDir::Files | QDir::Hidden | QDir::System);
        while (it.hasNext() && !Aborted()) {
            it.next();
            files.append({it.filePath(), it.fileInfo().size()});
            if (found)
                found(files.constLast());
        }
    }
}

void FileFinder::Visit(const QString& folder, const QStringList& patterns)
{
    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    while (it.hasNext() && !Aborted()) {
        const QString sub = it.next();
        if (sub == u"/proc" || sub == u"/sys")
            continue;
        ListFiles(sub, patterns);
        Visit(sub, patterns);
        if (!Aborted())
            folders.append(sub);
    }
}

} // namespace tvl
