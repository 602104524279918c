#include "discinfo/FreedbOptions.h"
#include "discinfo/DiscDbClient.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

TEST(FreedbOptionsTest, DefaultRoundTripsUnchanged)
{
    const QString stored = DefaultFreedbOptionsText();
    const FreedbOptions options = FreedbOptions::Parse(stored);
    EXPECT_EQ(options.server.host, QStringLiteral("gnudb.gnudb.org"));
    EXPECT_EQ(options.server.port, 80);
    EXPECT_EQ(options.server.path, QStringLiteral("/~cddb/cddb.cgi"));
    EXPECT_EQ(options.server.description, QStringLiteral("Random freedb server"));
    EXPECT_EQ(options.Format(), stored);
    EXPECT_EQ(FreedbOptions::Parse(QString()).Format(), stored);
}

TEST(FreedbOptionsTest, CarriedFieldsAreKeptAndFieldFiveIsZero)
{
    const FreedbOptions options = FreedbOptions::Parse(QStringLiteral("h`8080`/p`d`7`six`seven`eight`nine`"));
    EXPECT_EQ(options.server.port, 8080);
    EXPECT_EQ(options.carried, (QStringList{QStringLiteral("six"), QStringLiteral("seven"),
                                            QStringLiteral("eight"), QStringLiteral("nine")}));
    EXPECT_EQ(options.Format(), QStringLiteral("h`8080`/p`d`0`six`seven`eight`nine`"));
}

TEST(FreedbOptionsTest, NetworkTextsCannotShiftFields)
{
    FreedbOptions options;
    options.server.host = QStringLiteral("evil`host");
    options.server.description = QStringLiteral("line\r\none`two\x01");
    const struct
    {
        int port;
        const char* stored;
    } ports[] = {{0, "80"}, {65536, "80"}, {-5, "80"}, {1, "1"}, {65535, "65535"}};
    for (const auto& p : ports) {
        options.server.port = p.port;
        const QString text = options.Format();
        EXPECT_EQ(text.count(u'`'), 9) << text.toStdString();
        const FreedbOptions back = FreedbOptions::Parse(text);
        EXPECT_EQ(back.server.host, QStringLiteral("evilhost"));
        EXPECT_EQ(back.server.description, QStringLiteral("lineonetwo"));
        EXPECT_EQ(QString::number(back.server.port), QLatin1StringView(p.stored));
    }
    EXPECT_EQ(FreedbOptions::Parse(QStringLiteral("h`x`/p`d`0`````")).server.port, 0);
}

TEST(FreedbOptionsTest, HelloCarriesTheEmailAddressWhenSet)
{
    DiscDbClient client;
    client.SetHelloAddress(QStringLiteral("jane.doe@mail.example.org"));
    EXPECT_EQ(client.BuildHello(), QStringLiteral("hello=jane_doe+mail_example_org+MfcCDDB+1.22&proto=5"));
    client.SetHelloAddress(QStringLiteral("nobody"));
    EXPECT_EQ(client.BuildHello(), QStringLiteral("hello=nobody+Unknown+MfcCDDB+1.22&proto=5"));
    client.SetHelloAddress(QString());
    EXPECT_FALSE(client.BuildHello().startsWith(QStringLiteral("hello=nobody")));
}

} // namespace
} // namespace tvl
