#include "discinfo/CdPlayerFile.h"

#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tvl {

namespace {

bool IsIniSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

QStringView TrimLeft(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && IsIniSpace(text[i]))
        ++i;
    return text.mid(i);
}

QString TrimRight(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && IsIniSpace(text[end - 1]))
        --end;
    return text.left(end).toString();
}

// Closes a descriptor when it goes.
struct FileDescriptor
{
    explicit FileDescriptor(int fd)
        : fd(fd)
    {
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    const int fd;
};

} // namespace

uint32_t CdPlayerKey(const DiscToc& toc)
{
    const int n = toc.TrackCount();
    uint32_t key = 0;
    for (int j = 0; j < n; ++j)
        key += static_cast<uint32_t>(toc.Minute(j) * 65536 + toc.Second(j) * 256 + toc.Frame(j));
    if (n == 1 || n == 2)
        key += static_cast<uint32_t>(toc.Frames(n)) - static_cast<uint32_t>(toc.Frames(0));
    if (n == 2)
        key += static_cast<uint32_t>(toc.Frame(0));
    return key;
}

QString CdPlayerSectionHeader(const DiscToc& toc)
{
    return u'[' + QString::number(CdPlayerKey(toc), 16).toUpper() + u']';
}

Result<QByteArray, QString> ReadCdPlayerBytes(const QString& path)
{
    const auto refuse = [](const QString& why) -> Result<QByteArray, QString> { return why; };
    // Non-blocking, so that opening a FIFO without a writer returns at once.
    const FileDescriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    const int fd = file.fd;
    if (fd < 0)
        return refuse(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        return refuse(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(info.st_mode))
        return refuse(QStringLiteral("not a regular file"));
    QByteArray bytes(maxCdPlayerFileSize, Qt::Uninitialized);
    qsizetype size = 0;
    while (size < bytes.size()) {
        const ssize_t count = ::read(fd, bytes.data() + size, static_cast<size_t>(bytes.size() - size));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return refuse(QString::fromLocal8Bit(std::strerror(errno)));
        if (count == 0)
            break;
        size += count;
    }
    bytes.truncate(size);
    return bytes;
}

std::optional<DiscRecord> ReadCdPlayerFile(const DiscToc& toc, const QString& path)
{
    const auto bytes = ReadCdPlayerBytes(path);
    if (!bytes)
        return std::nullopt;
    return ReadCdPlayerText(toc, bytes.value());
}

std::optional<DiscRecord> ReadCdPlayerText(const DiscToc& toc, const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(bytes);
    const bool isUtf8 = !utf8.hasError();
    const QString header = CdPlayerSectionHeader(toc);
    std::optional<DiscRecord> record;
    int trackCounter = 0;
    qsizetype position = 0;
    for (;;) {
        const qsizetype lineFeed = bytes.indexOf('\n', position);
        if (lineFeed < 0)
            break;
        const QByteArrayView lineBytes = QByteArrayView(bytes).sliced(position, lineFeed - position);
        position = lineFeed + 1;
        if (lineBytes.size() > maxCdPlayerLineLength)
            continue;
        const QString text = isUtf8 ? QString::fromUtf8(lineBytes) : QString::fromLatin1(lineBytes);
        const QStringView line = TrimLeft(text);
        if (!record) {
            if (line.startsWith(u'[') && line.left(header.size()).toString().toUpper() == header)
                record.emplace();
            continue;
        }
        if (line.startsWith(u'['))
            break;
        if (line.startsWith(u"artist=")) {
            record->artist = TrimRight(line.mid(7));
        } else if (line.startsWith(u"title=")) {
            record->title = TrimRight(line.mid(6));
        } else {
            const QString key = QString::number(trackCounter) + u'=';
            if (line.left(2) == key || line.left(3) == key) {
                record->trackTitles.append(TrimRight(line.mid(key.size())));
                ++trackCounter;
            }
        }
    }
    if (record)
        record->source = QStringLiteral("CDPlayer.ini");
    return record;
}

} // namespace tvl
