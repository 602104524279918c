#include "discinfo/XmcdParser.h"

#include "discinfo/DiscDbAnswer.h"

namespace tvl {

namespace {

// The n of "TTITLEn"; -1 when no number follows the prefix or it is out of range.
int TrackIndex(QStringView keyword, QStringView prefix)
{
    const QStringView rest = keyword.mid(prefix.size());
    if (rest.isEmpty() || rest[0] < u'0' || rest[0] > u'9')
        return -1;
    const int n = LeadingInt(rest);
    return n <= maxXmcdTrackIndex ? n : -1;
}

void AppendAt(QStringList& list, int n, const QString& value)
{
    if (list.size() < n + 1)
        list.resize(n + 1);
    list[n] += value;
}

} // namespace

QString DecodeXmcdValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar next = value[i + 1];
            if (next == u'n' || next == u't' || next == u'\\') {
                out += next == u'n' ? u'\n' : next == u't' ? u'\t' : u'\\';
                ++i;
                continue;
            }
        }
        out += value[i];
    }
    return out;
}

bool ParseXmcdEntry(const QString& body, DiscRecord& record)
{
    const int status = ProtocolStatus(body);
    if (status < 210 || status > 219)
        return false;
    const QStringList lines = SplitAnswerLines(body);
    if (lines.size() < 2)
        return false;
    record = DiscRecord();
    bool xmcd = false;
    bool collectingOffsets = false;
    bool lengthSeen = false;
    bool submitterSeen = false;
    bool idSeen = false;
    bool titleSeen = false;
    QString titleText;
    QString playOrderText;
    for (qsizetype l = 1; l < lines.size(); ++l) {
        const QString& line = lines[l];
        if (line.startsWith(u'#')) {
            QString comment = line.mid(1).trimmed();
            if (comment.size() < 2)
                comment.clear();
            if (comment.startsWith(QLatin1StringView("xmcd"))) {
                xmcd = true;
            } else if (comment.contains(QLatin1StringView("Track frame offsets:"))) {
                collectingOffsets = true;
            } else if (comment.startsWith(QLatin1StringView("Disc length:"))) {
                collectingOffsets = false;
                lengthSeen = true;
                record.discLength = LeadingInt(QStringView(comment).mid(13));
            } else if (comment.startsWith(QLatin1StringView("Revision:"))) {
                record.revision = LeadingInt(QStringView(comment).mid(9));
            } else if (comment.startsWith(QLatin1StringView("Submitted via:"))) {
                const QStringList words = comment.mid(14).split(u' ', Qt::SkipEmptyParts);
                if (words.size() < 2)
                    return false;
                record.submitterName = words[0];
                record.submitterVersion = words[1];
                record.source = words.size() > 2 ? words[2] : QString();
                submitterSeen = true;
            } else if (!comment.isEmpty() && collectingOffsets) {
                record.trackFrameOffsets.append(LeadingInt(comment));
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QStringView keyword = QStringView(line).left(equals);
        const QString value = DecodeXmcdValue(line.mid(equals + 1));
        if (keyword == u"DISCID") {
            if (value.size() > 7) {
                record.discId = LeadingHex(value).value_or(0);
                idSeen = true;
            }
        } else if (keyword == u"DTITLE") {
            titleText += value;
            titleSeen = true;
        } else if (keyword == u"DYEAR") {
            record.year = LeadingInt(value);
        } else if (keyword == u"DGENRE") {
            record.genre += value;
        } else if (keyword.startsWith(u"TTITLE")) {
            const int n = TrackIndex(keyword, u"TTITLE");
            if (n >= 0)
                AppendAt(record.trackTitles, n, value);
        } else if (keyword == u"EXTD") {
            record.extendedData += value;
        } else if (keyword.startsWith(u"EXTT")) {
            const int n = TrackIndex(keyword, u"EXTT");
            if (n >= 0)
                AppendAt(record.extendedTrackData, n, value);
        } else if (keyword == u"PLAYORDER") {
            playOrderText += value;
        }
    }
    if (!xmcd || record.trackFrameOffsets.isEmpty() || !lengthSeen || !submitterSeen || !idSeen ||
        !titleSeen || record.trackTitles.size() != record.extendedTrackData.size())
        return false;
    const qsizetype split = titleText.indexOf(QLatin1StringView(" / "));
    if (split < 0) {
        record.artist = titleText;
        record.title = titleText;
    } else {
        record.artist = titleText.left(split);
        record.title = titleText.mid(split + 3);
    }
    for (const QString& piece : playOrderText.split(u',', Qt::SkipEmptyParts))
        record.playOrder.append(LeadingInt(piece));
    return true;
}

} // namespace tvl
