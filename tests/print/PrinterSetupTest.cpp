#include "print/settings/PrinterSetup.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

PrinterSetup Sample()
{
    PrinterSetup setup;
    setup.printerName = u"Büro-Drucker"_s;
    setup.paper = u"A4"_s;
    setup.tray = u"Tray2"_s;
    setup.duplex = 1;
    setup.colorMode = 0;
    setup.resolution = 600;
    setup.copies = 3;
    setup.options = {u"print-quality"_s, u"5"_s, u"ColorModel"_s, u"Gray=x"_s};
    return setup;
}

TEST(PrinterSetupTest, FramingRoundTripsAndDamagedFilesAreRefused)
{
    const QByteArray good = EncodePrinterSetup(Sample());
    EXPECT_EQ(DecodePrinterSetup(good), Sample());
    const qsizetype firstLine = good.indexOf('\n');
    EXPECT_EQ(good.left(firstLine).toInt() +
                  good.mid(firstLine + 1, good.indexOf('\n', firstLine + 1) - firstLine - 1).toInt(),
              good.size() - good.indexOf('\n', firstLine + 1) - 1)
        << "the two counts cover exactly the two blocks";

    const QByteArray bad[] = {
        good.left(good.size() - 1),               // name block cut short
        "99999999999\n5\nshort",                  // a count far beyond any file
        "x12\n3\nabc",                            // not a number
        "4\n3\nabcdefg",                          // not our settings text
        "30\n0\nTovrelline printer settings 1\n", // no printer name
        "",
    };
    for (const QByteArray& bytes : bad)
        EXPECT_FALSE(DecodePrinterSetup(bytes).has_value()) << bytes.constData();
}

TEST(PrinterSetupTest, OptionsThatCannotBeWrittenOnALineAreLeftOut)
{
    PrinterSetup setup = Sample();
    setup.options << u"bad=name"_s << u"1"_s << u"note"_s << u"two\nlines"_s << u"kept"_s << u"yes"_s;
    const std::optional<PrinterSetup> read = DecodePrinterSetup(EncodePrinterSetup(setup));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->options,
              (QStringList{u"print-quality"_s, u"5"_s, u"ColorModel"_s, u"Gray=x"_s, u"kept"_s, u"yes"_s}));
}

TEST(PrinterSetupTest, AnUnusableFileIsDeletedAndAnUnknownPrinterKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"printer.ini"_s);
    PrinterSetup away = Sample();
    away.printerName = u"switched-off-printer"_s;
    ASSERT_TRUE(SavePrinterSetup(path, away).ok());
    EXPECT_EQ(LoadPrinterSetup(path), away);
    EXPECT_TRUE(QFile::exists(path));

    QFile damaged(path);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("12\n900000\nTovrelline");
    damaged.close();
    EXPECT_FALSE(LoadPrinterSetup(path).has_value());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(LoadPrinterSetup(dir.filePath(u"printerCD.ini"_s)).has_value());
}

} // namespace
} // namespace tvl
