#include "app/launcher/LaunchChoice.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

struct CommandCase
{
    const char* name;
    QStringList args;
    int exitCode;
    const char* errorStart;
};

// Runs the program without a display, so a command line that wrongly starts the window ends at once with
// the no-display message instead of waiting.
class CommandLineTest : public ::testing::TestWithParam<CommandCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        QFile design(home.filePath(u"album.tvl"_s));
        ASSERT_TRUE(design.open(QIODevice::WriteOnly));
    }

    QTemporaryDir home;
};

constexpr const char* kNoDisplay = "Tovrelline needs a graphical display";

// Runs the program without a display.
void RunProgram(QProcess& process, const QString& home, const QStringList& args)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, home + u"/data"_s);
    environment.insert(u"XDG_CONFIG_HOME"_s, home + u"/config"_s);
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    environment.remove(u"QT_QPA_PLATFORM"_s);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(home);
    process.start(QStringLiteral(TOVRELLINE_PROGRAM), args);
    ASSERT_TRUE(process.waitForFinished(60000));
}

TEST_P(CommandLineTest, ExitsAsACommandLineShould)
{
    const CommandCase& c = GetParam();
    QStringList args;
    for (const QString& arg : c.args)
        args.append(QString(arg).replace(u"HOME"_s, home.path()));
    QProcess process;
    RunProgram(process, home.path(), args);
    const QByteArray err = process.readAllStandardError();
    EXPECT_EQ(process.exitCode(), c.exitCode) << err.toStdString();
    EXPECT_TRUE(err.startsWith(c.errorStart)) << err.toStdString();
    if (c.exitCode == 2) {
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
        for (const char* verb : {"tovrelline help", "tovrelline dump", "tovrelline save-as",
                                 "tovrelline export", "tovrelline disc-info", "tovrelline print"})
            EXPECT_TRUE(err.contains(verb)) << verb << " is not listed";
    }
}

// The program decides what a command line asks for before it loads the verbs: every verb it lists must
// reach the verbs, which then judge the arguments themselves.
TEST_F(CommandLineTest, EveryListedVerbIsRun)
{
    for (const VerbUsage& verb : VerbUsages()) {
        const QString name = QString::fromLatin1(verb.name.data(), static_cast<qsizetype>(verb.name.size()));
        QProcess process;
        RunProgram(process, home.path(), {name, u"--no-such-option"_s});
        const QByteArray err = process.readAllStandardError();
        if (name == u"help"_s) {
            EXPECT_EQ(process.exitCode(), 0);
            EXPECT_TRUE(process.readAllStandardOutput().startsWith("Usage: tovrelline [DESIGN.tvl]\n"));
            continue;
        }
        EXPECT_NE(process.exitCode(), 0) << verb.name;
        EXPECT_FALSE(err.isEmpty()) << verb.name;
        EXPECT_FALSE(err.contains("Unknown command")) << verb.name << ": " << err.toStdString();
        EXPECT_FALSE(err.contains(kNoDisplay)) << verb.name << ": " << err.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(
        CommandCase{"UnknownVerbWithAFile", {u"burn"_s, u"HOME/album.tvl"_s}, 2, "Unknown command: burn\n"},
        CommandCase{"MissingDesignWithMoreWords", {u"HOME/gone.tvl"_s, u"x"_s}, 2, "Unknown command: "},
        CommandCase{"FolderWithMoreWords", {u"HOME"_s, u"HOME/album.tvl"_s}, 2, "Unknown command: "},
        CommandCase{"ExistingDesignWithMoreWords", {u"HOME/album.tvl"_s, u"x"_s}, 1, kNoDisplay},
        CommandCase{"OptionFirst", {u"-style"_s, u"fusion"_s}, 1, kNoDisplay},
        CommandCase{"SingleUnreadableWord", {u"burn"_s}, 1, kNoDisplay},
        CommandCase{"NoArguments", {}, 1, kNoDisplay}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tvl
