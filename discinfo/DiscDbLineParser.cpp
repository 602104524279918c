#include "discinfo/DiscDbLineParser.h"

#include "discinfo/DiscDbAnswer.h"
#include "discinfo/DiscDbServerText.h"

namespace tvl {

namespace {

// Reads blank-separated words from a line.
class WordReader
{
public:
    explicit WordReader(QStringView line)
        : line(line)
    {
    }

    QStringView Next()
    {
        SkipBlanks();
        const qsizetype start = at;
        while (at < line.size() && line[at] != u' ')
            ++at;
        return line.mid(start, at - start);
    }

    QStringView Rest()
    {
        SkipBlanks();
        return line.mid(at);
    }

private:
    void SkipBlanks()
    {
        while (at < line.size() && line[at] == u' ')
            ++at;
    }

    QStringView line;
    qsizetype at = 0;
};

QStringView CutAtLineEnd(QStringView text)
{
    qsizetype end = text.indexOf(u"\r\n");
    if (end < 0)
        end = text.indexOf(u'\n');
    return end < 0 ? text : text.left(end);
}

// "N037.23": hemisphere letter, degrees in characters 2-4, minutes in characters 6-7.
bool ParseCoordinate(QStringView word, QChar positive, QChar negative, bool& isPositive, int& minutes)
{
    if (word.size() != 7 || (word[0] != positive && word[0] != negative))
        return false;
    bool degreesOk = false;
    bool minutesOk = false;
    const int degrees = word.mid(1, 3).toInt(&degreesOk);
    const int arcMinutes = word.mid(5, 2).toInt(&minutesOk);
    if (!degreesOk || !minutesOk || degrees < 0 || arcMinutes < 0)
        return false;
    isPositive = word[0] == positive;
    minutes = degrees * 60 + arcMinutes;
    return true;
}

} // namespace

std::optional<DiscDbMatch> ParseMatchLine(const QString& line)
{
    const qsizetype blank = line.indexOf(u' ');
    if (blank <= 0)
        return std::nullopt;
    WordReader reader(QStringView(line).mid(blank));
    const QStringView idWord = reader.Next();
    const std::optional<uint32_t> id = LeadingHex(idWord);
    const QStringView titleText = CutAtLineEnd(reader.Rest());
    if (!id || titleText.isEmpty())
        return std::nullopt;
    DiscDbMatch match;
    match.category = line.left(blank);
    match.discId = *id;
    const qsizetype slash = titleText.indexOf(u'/');
    if (slash < 0) {
        match.title = titleText.toString();
    } else {
        match.artist = titleText.left(slash).trimmed().toString();
        match.title = titleText.mid(slash + 1).trimmed().toString();
    }
    return match;
}

std::optional<DiscDbServer> ParseServerLine(const QString& line)
{
    WordReader reader(CutAtLineEnd(line));
    DiscDbServer server;
    server.host = reader.Next().toString();
    if (server.host.isEmpty() || reader.Next().compare(u"http", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    bool portOk = false;
    server.port = reader.Next().toInt(&portOk);
    server.path = reader.Next().toString();
    // The host and path go into later requests: nothing that could reshape a request line.
    if (!portOk || server.port <= 0 || server.port > 65535 || !IsValidServerHost(server.host) ||
        !IsValidServerPath(server.path))
        return std::nullopt;
    if (!ParseCoordinate(reader.Next(), u'N', u'S', server.north, server.latitude) ||
        !ParseCoordinate(reader.Next(), u'E', u'W', server.east, server.longitude))
        return std::nullopt;
    server.description = reader.Rest().toString();
    if (server.description.isEmpty())
        return std::nullopt;
    return server;
}

} // namespace tvl
