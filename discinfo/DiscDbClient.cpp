#include "discinfo/DiscDbClient.h"

#include "discinfo/DiscDbAnswer.h"
#include "discinfo/DiscDbAnswerScanner.h"
#include "discinfo/DiscDbLineParser.h"
#include "discinfo/DiscDbServerText.h"
#include "discinfo/TcpConnection.h"
#include "discinfo/XmcdParser.h"

#include <QStringDecoder>
#include <QUrl>

#include <array>
#include <chrono>

#include <pwd.h>
#include <unistd.h>

namespace tvl {

namespace {

constexpr qsizetype maxNameLength = 260;

DiscDbFailure ConnectFailure(TcpConnection::ConnectResult result)
{
    switch (result) {
    case TcpConnection::ConnectResult::Connected:
        return DiscDbFailure::None;
    case TcpConnection::ConnectResult::NoSocket:
        return DiscDbFailure::NoSocket;
    case TcpConnection::ConnectResult::Unresolvable:
        return DiscDbFailure::Unresolvable;
    case TcpConnection::ConnectResult::Refused:
        return DiscDbFailure::Refused;
    case TcpConnection::ConnectResult::Unreachable:
        break;
    }
    return DiscDbFailure::Unreachable;
}

// The first line of a body, fit for a message.
QString StatusLine(const QString& body)
{
    QString line = SplitAnswerLines(body.left(200)).value(0);
    for (QChar& c : line) {
        if (c.category() == QChar::Other_Control)
            c = u'?';
    }
    return line;
}

bool IsUsableServer(const DiscDbServer& server)
{
    return IsValidServerHost(server.host) && IsValidServerPath(server.path) && server.port > 0 &&
           server.port <= 65535;
}

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

DiscDbClient::DiscDbClient(int timeoutMs, int deadlineMs)
    : timeoutMs(timeoutMs)
    , deadlineMs(deadlineMs)
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
    QString user = SystemUserName();
    QString host = SystemHostName();
    if (const qsizetype at = helloAddress.indexOf(u'@'); !helloAddress.isEmpty()) {
        user = at < 0 ? helloAddress : helloAddress.left(at);
        host = at < 0 ? QString() : helloAddress.mid(at + 1);
    }
    return QStringLiteral("hello=%1+%2+%3+%4&proto=%5")
        .arg(HelloWord(user), HelloWord(host), clientName, clientVersion)
        .arg(protocolLevel);
}

QByteArray DiscDbClient::Request(const DiscDbServer& server, const QString& cmd) const
{
    return QStringLiteral("GET %1?cmd=%2&%3 HTTP/1.0\r\n\r\n").arg(server.path, cmd, BuildHello()).toUtf8();
}

void DiscDbClient::Fail(const DiscDbServer& server, DiscDbFailure kind, const QString& detail)
{
    ok = 0;
    lastError = {kind, ServerAddress(server), detail};
}

int DiscDbClient::ConnectForQuery(const std::function<TcpConnection::ConnectResult()>& attempt,
                                  TcpConnection::ConnectResult& failure)
{
    failure = attempt();
    if (failure == TcpConnection::ConnectResult::NoSocket)
        return queryNoSocket;
    if (failure == TcpConnection::ConnectResult::Connected)
        return queryDone;
    failure = attempt();
    return failure == TcpConnection::ConnectResult::Connected ? queryDone : queryNoConnection;
}

bool DiscDbClient::SendAndReceive(TcpConnection& connection, const DiscDbServer& server, const QString& cmd,
                                  QString& answer)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    if (!connection.Send(Request(server, cmd), timeoutMs)) {
        Fail(server, DiscDbFailure::SendFailed);
        return false;
    }
    DiscDbAnswerScanner scanner;
    const DiscDbFailure failure = connection.Receive(scanner, timeoutMs, deadline);
    answer = DecodeAnswer(scanner.Text());
    lastResponse = answer;
    switch (failure) {
    case DiscDbFailure::None:
        return true;
    case DiscDbFailure::Silent:
        Fail(server, failure, QString::number(timeoutMs / 1000.0));
        break;
    case DiscDbFailure::Deadline:
        Fail(server, failure, QString::number(deadlineMs / 1000.0));
        break;
    case DiscDbFailure::HttpError:
        Fail(server, failure, QString::fromLatin1(scanner.HttpStatusLine()));
        break;
    default:
        Fail(server, failure);
        break;
    }
    return false;
}

int DiscDbClient::Query(const DiscDbServer& server, const QString& command, QList<DiscDbMatch>& matches)
{
    lastError = {};
    if (!IsUsableServer(server)) {
        Fail(server, DiscDbFailure::InvalidServer);
        return queryNoConnection;
    }
    TcpConnection connection(cancelled);
    TcpConnection::ConnectResult connectResult = TcpConnection::ConnectResult::Connected;
    const int connected = ConnectForQuery(
        [&] { return connection.Connect(server.host, server.port, timeoutMs); }, connectResult);
    if (connected != queryDone) {
        Fail(server, ConnectFailure(connectResult));
        return connected;
    }
    QString answer;
    if (!SendAndReceive(connection, server, command, answer))
        return lastError.kind == DiscDbFailure::SendFailed ? querySendFailed : queryReceiveFailed;
    const QString body = AnswerBody(answer);
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
        Fail(server, DiscDbFailure::ServerError, StatusLine(body));
    }
    return queryDone;
}

bool DiscDbClient::Exchange(const DiscDbServer& server, const QString& cmd, QString& answer)
{
    lastError = {};
    answer.clear();
    if (!IsUsableServer(server)) {
        Fail(server, DiscDbFailure::InvalidServer);
        return false;
    }
    TcpConnection connection(cancelled);
    const TcpConnection::ConnectResult connected = connection.Connect(server.host, server.port, timeoutMs);
    if (connected != TcpConnection::ConnectResult::Connected) {
        Fail(server, ConnectFailure(connected));
        return false;
    }
    return SendAndReceive(connection, server, cmd, answer);
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
    const QString body = AnswerBody(answer);
    const bool parsed = ParseXmcdEntry(body, record);
    if (record.discId != discId)
        record.discId = discId;
    if (parsed) {
        lastResponse.clear();
    } else {
        const int status = ProtocolStatus(body);
        if (status >= 210 && status <= 219)
            Fail(server, DiscDbFailure::BadEntry);
        else
            Fail(server, DiscDbFailure::ServerError, StatusLine(body));
    }
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
        Fail(server, DiscDbFailure::ServerError, StatusLine(body));
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
