#include "discinfo/DiscDbClient.h"

#include "discinfo/DiscDbAnswer.h"
#include "discinfo/DiscDbLineParser.h"
#include "discinfo/TcpConnection.h"
#include "discinfo/XmcdParser.h"

#include <QStringDecoder>
#include <QUrl>

#include <array>

#include <pwd.h>
#include <unistd.h>

namespace tvl {

namespace {

constexpr qsizetype maxNameLength = 260;
const QByteArray terminator = QByteArrayLiteral("\r\n.\r\n");

// Protocol level 5 answers are ISO 8859-1, but many servers send UTF-8 whatever was asked.
QString DecodeAnswer(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString SystemUserName()
{
    std::array<char, 1024> buffer{};
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return {};
}

QString SystemHostName()
{
    std::array<char, maxNameLength + 1> buffer{};
    if (::gethostname(buffer.data(), maxNameLength) != 0)
        return {};
    return QString::fromLocal8Bit(buffer.data());
}

} // namespace

DiscDbClient::DiscDbClient(int timeoutMs)
    : timeoutMs(timeoutMs)
{
}

QString DiscDbClient::HelloWord(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("Unknown");
    QString word = name.left(maxNameLength);
    for (QChar& c : word) {
        const char16_t u = c.unicode();
        if (!((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')))
            c = u'_';
    }
    return word;
}

QString DiscDbClient::BuildHello() const
{
    return QStringLiteral("hello=%1+%2+%3+%4&proto=%5")
        .arg(HelloWord(SystemUserName()), HelloWord(SystemHostName()), clientName, clientVersion)
        .arg(protocolLevel);
}

QByteArray DiscDbClient::Request(const DiscDbServer& server, const QString& cmd) const
{
    return QStringLiteral("GET %1?cmd=%2&%3 HTTP/1.0\r\n\r\n").arg(server.path, cmd, BuildHello()).toUtf8();
}

int DiscDbClient::ConnectForQuery(const std::function<TcpConnection::ConnectResult()>& attempt)
{
    const TcpConnection::ConnectResult first = attempt();
    if (first == TcpConnection::ConnectResult::noSocket)
        return queryNoSocket;
    if (first == TcpConnection::ConnectResult::connected ||
        attempt() == TcpConnection::ConnectResult::connected)
        return queryDone;
    return queryNoConnection;
}

int DiscDbClient::Query(const DiscDbServer& server, const QString& command, QList<DiscDbMatch>& matches)
{
    TcpConnection connection;
    const int connected =
        ConnectForQuery([&] { return connection.Connect(server.host, server.port, timeoutMs); });
    if (connected != queryDone) {
        ok = 0;
        return connected;
    }
    if (!connection.Send(Request(server, command), timeoutMs)) {
        ok = 0;
        return querySendFailed;
    }
    QByteArray bytes;
    const bool received = connection.Receive(terminator, true, timeoutMs, bytes);
    lastResponse = DecodeAnswer(bytes);
    if (!received) {
        ok = 0;
        return queryReceiveFailed;
    }
    const QString body = AnswerBody(lastResponse);
    const int status = ProtocolStatus(body);
    if (status == 200) {
        if (body.size() > 5) {
            if (const auto match = ParseMatchLine(body.mid(4)))
                matches.append(*match);
        }
    } else if (status >= 210 && status <= 219) {
        const QStringList lines = SplitAnswerLines(body);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            if (const auto match = ParseMatchLine(lines[i]))
                matches.append(*match);
        }
    } else if (status != 202) {
        ok = 0;
    }
    return queryDone;
}

bool DiscDbClient::Exchange(const DiscDbServer& server, const QString& cmd, QString& answer)
{
    TcpConnection connection;
    QByteArray bytes;
    const bool done =
        connection.Connect(server.host, server.port, timeoutMs) == TcpConnection::ConnectResult::connected &&
        connection.Send(Request(server, cmd), timeoutMs) &&
        connection.Receive(terminator, false, timeoutMs, bytes);
    answer = DecodeAnswer(bytes);
    lastResponse = answer;
    if (!done)
        ok = 0;
    return done;
}

bool DiscDbClient::ReadRecord(const DiscDbServer& server, uint32_t discId, const QString& category,
                              DiscRecord& record)
{
    // The category comes from a query answer; keep it from reshaping the request line.
    const QString cmd =
        QStringLiteral("cddb+read+%1+%2")
            .arg(QString::fromLatin1(QUrl::toPercentEncoding(category)), QString::asprintf("%08x", discId));
    QString answer;
    if (!Exchange(server, cmd, answer))
        return false;
    const bool parsed = ParseXmcdEntry(AnswerBody(answer), record);
    if (record.discId != discId)
        record.discId = discId;
    if (parsed)
        lastResponse.clear();
    else
        ok = 0;
    return parsed;
}

bool DiscDbClient::GetSites(const DiscDbServer& server, QList<DiscDbServer>& sites)
{
    QString answer;
    if (!Exchange(server, QStringLiteral("sites"), answer))
        return false;
    const QString body = AnswerBody(answer);
    const int status = ProtocolStatus(body);
    if (status < 210 || status > 219) {
        ok = 0;
        return false;
    }
    sites.clear();
    const QStringList lines = SplitAnswerLines(body);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (const auto site = ParseServerLine(lines[i]))
            sites.append(*site);
    }
    return true;
}

} // namespace tvl
