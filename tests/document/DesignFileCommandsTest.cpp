#include "document/commands/DesignFileCommands.h"
#include "document/commands/DefaultDesigns.h"
#include "document/model/LabelDesign.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace tvl {
namespace {

const QString kEnd(QChar(0x08));

// Design files of this fixture hold "disc mode/case kind"; "refuse" and anything else stand for a newer
// and a damaged file.
class FakeStore : public DesignStore
{
public:
    DesignReadOutcome Read(const QString& path, QString& title) override
    {
        reads.append(QFileInfo(path).fileName());
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QString content = QString::fromUtf8(file.readAll());
        if (content == u"refuse")
            return {DesignReadOutcome::Status::Refused, QStringLiteral("newer"), 0};
        const QStringList parts = content.split(u'/');
        if (parts.size() != 2)
            return {DesignReadOutcome::Status::Failed, QStringLiteral("Error 153 - Step: 4"), 4};
        live.albumHeader.discMode = parts[0];
        live.albumHeader.caseKind = parts[1];
        if (IsDefaultDesignName(title)) {
            FillSampleAlbum(live);
            title = QStringLiteral("Untitled.tvl");
        }
        loaded = true;
        return {};
    }
    std::optional<QString> Write(const QString& path) override
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write");
        file.write((live.albumHeader.discMode + u'/' + live.albumHeader.caseKind).toUtf8());
        writes.append(QFileInfo(path).fileName());
        return std::nullopt;
    }
    void BuildBlankDesign() override
    {
        ++blanks;
        loaded = true;
        FillSampleAlbum(live);
    }
    bool HasDesign() const override { return loaded; }
    QString DiscMode() const override { return live.albumHeader.discMode; }
    QString CaseKind() const override { return live.albumHeader.caseKind; }
    void SetDesignKind(const QString& discMode, const QString& caseKind) override
    {
        live.albumHeader.discMode = discMode.isEmpty() ? QStringLiteral("Single") : discMode;
        live.albumHeader.caseKind = caseKind.isEmpty() ? QStringLiteral("Jewel") : caseKind;
    }

    LabelDesign live;
    bool loaded = false;
    int blanks = 0;
    QStringList reads;
    QStringList writes;
};

class FakeUi : public FileCommandsUi
{
public:
    SaveAnswer AskSaveChanges(const QString& title) override
    {
        prompts.append(title);
        return answer;
    }
    void ShowError(const QString& text) override { errors.append(text); }
    std::optional<QString> ChooseOpenPath(const QString& folder) override
    {
        openFolders.append(folder);
        return openChoice;
    }
    std::optional<QString> ChooseSavePath(const QString& folder, const QString&) override
    {
        saveFolders.append(folder);
        return saveChoice;
    }
    std::optional<int> ChooseNewDesign() override { return newChoice; }
    void AddRecentFile(const QString& path) override { recent.append(path); }

    SaveAnswer answer = SaveAnswer::Cancel;
    std::optional<QString> openChoice;
    std::optional<QString> saveChoice;
    std::optional<int> newChoice;
    QStringList prompts;
    QStringList errors;
    QStringList openFolders;
    QStringList saveFolders;
    QStringList recent;
};

class MapSettings : public FileSettings
{
public:
    QString ReadString(const QString& key) override { return values[key]; }
    void WriteString(const QString& key, const QString& value) override { values[key] = value; }
    std::map<QString, QString> values;
};

// The user's home is a folder of the test's own, with no desktop folder settings, so the documents folder
// is HOME/Documents when it exists.
class FileCommandsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(homeDir.isValid());
        qputenv("HOME", homeDir.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", homeDir.filePath(QStringLiteral("config")).toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("HOME", savedHome);
        if (savedConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", savedConfig);
    }

    QString ProgramFile(const QString& name) const { return programDir.filePath(name); }
    QString UserFile(const QString& name) const { return userDir.filePath(name); }
    void WriteFile(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig =
        qEnvironmentVariableIsSet("XDG_CONFIG_HOME") ? qgetenv("XDG_CONFIG_HOME") : QByteArray();
    QTemporaryDir homeDir;
    QTemporaryDir programDir;
    QTemporaryDir userDir;
    DocumentFileState file;
    FakeStore store;
    FakeUi ui;
    MapSettings settings;
    DesignFileCommands commands{file, store, ui, settings, programDir.path()};
};

TEST(DefaultDesigns, NamesExtensionsAndSampleAlbums)
{
    EXPECT_EQ(DefaultDesignName(u"Single", u"Jewel"), u"Default1.tvl");
    EXPECT_EQ(DefaultDesignName(u"Double", u"DVD"), u"Default2_dvd.tvl");
    EXPECT_TRUE(IsDefaultDesignName(u"Default1_dvd.tvl"));
    EXPECT_FALSE(IsDefaultDesignName(u"default1.tvl"));
    EXPECT_FALSE(IsDefaultDesignName(u"Default.tvl"));

    const std::pair<const char16_t*, const char16_t*> extensions[] = {
        {u"/a/Cover", u"/a/Cover.tvl"},
        {u"/a/Label.TVL", u"/a/Label.tvl"},
        {u"/a/Label.txt", u"/a/Label.txt.tvl"},
        {u"/a/x.tvl", u"/a/x.tvl"},
    };
    for (const auto& [chosen, saved] : extensions)
        EXPECT_EQ(WithDesignExtension(QString::fromUtf16(chosen)), QString::fromUtf16(saved));

    LabelDesign single;
    single.albumHeader.discMode = QStringLiteral("Single");
    single.albumHeader.Field(1, AlbumField::Artist) = QStringLiteral("kept");
    FillSampleAlbum(single);
    EXPECT_EQ(single.albumHeader.Field(0, AlbumField::Artist), QStringLiteral("Artist") + kEnd);
    EXPECT_EQ(single.albumHeader.Field(1, AlbumField::Artist), u"kept");
    EXPECT_TRUE(single.albumHeader.Field(0, AlbumField::TrackList)
                    .startsWith(QStringLiteral("1. \bTrack 1\b 0:01\b2. \bTrack 2\b 0:02\b")));
    EXPECT_TRUE(
        single.albumHeader.Field(0, AlbumField::TrackList).endsWith(QStringLiteral("7. \bTrack 7\b 0:07\b")));

    LabelDesign twoDiscs;
    twoDiscs.albumHeader.discMode = QStringLiteral("Double");
    FillSampleAlbum(twoDiscs);
    EXPECT_EQ(twoDiscs.albumHeader.Field(0, AlbumField::Genre), QStringLiteral("Genre - Disc 1") + kEnd);
    EXPECT_EQ(twoDiscs.albumHeader.Field(1, AlbumField::Title), QStringLiteral("Title - Disc 2") + kEnd);
    EXPECT_TRUE(
        twoDiscs.albumHeader.Field(1, AlbumField::TrackList).startsWith(u"1. \bTrack 1 - Disc 2\b 0:01\b"));
}

TEST_F(FileCommandsTest, SaveGoesToSaveAsForDefaultFilesAndNewDesigns)
{
    file.SetPath(ProgramFile(QStringLiteral("Default1.tvl")));
    EXPECT_FALSE(commands.Save());
    EXPECT_EQ(ui.saveFolders.size(), 1);

    file.path.clear();
    commands.Save();
    EXPECT_EQ(ui.saveFolders.size(), 2);
    EXPECT_EQ(ui.saveFolders.last(), homeDir.path() + u'/');

    file.SetPath(UserFile(QStringLiteral("default1.tvl")));
    EXPECT_TRUE(commands.Save());
    EXPECT_EQ(store.writes, QStringList{QStringLiteral("default1.tvl")});
    EXPECT_EQ(ui.saveFolders.size(), 2);
}

TEST_F(FileCommandsTest, DialogsStartWhereTheUserKeepsFilesUntilAFolderIsRemembered)
{
    // A design from a default file: never the program's hidden folder, but home without a documents folder.
    file.SetPath(ProgramFile(QStringLiteral("Default1.tvl")));
    commands.Open();
    commands.SaveAs();
    EXPECT_EQ(ui.openFolders.last(), homeDir.path() + u'/');
    EXPECT_EQ(ui.saveFolders.last(), homeDir.path() + u'/');

    ASSERT_TRUE(QDir(homeDir.path()).mkdir(QStringLiteral("Documents")));
    const QString documents = homeDir.filePath(QStringLiteral("Documents/"));
    commands.Open();
    commands.SaveAs();
    EXPECT_EQ(ui.openFolders.last(), documents);
    EXPECT_EQ(ui.saveFolders.last(), documents);

    // The desktop's own setting for the documents folder wins over the usual name.
    ASSERT_TRUE(QDir(homeDir.path()).mkpath(QStringLiteral("config")));
    ASSERT_TRUE(QDir(homeDir.path()).mkdir(QStringLiteral("Dokumente")));
    WriteFile(homeDir.filePath(QStringLiteral("config/user-dirs.dirs")),
              "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    commands.SaveAs();
    EXPECT_EQ(ui.saveFolders.last(), homeDir.filePath(QStringLiteral("Dokumente/")));

    file.SetPath(UserFile(QStringLiteral("mine.tvl")));
    commands.Open();
    commands.SaveAs();
    EXPECT_EQ(ui.openFolders.last(), userDir.path() + u'/');
    EXPECT_EQ(ui.saveFolders.last(), userDir.path() + u'/');

    settings.values[QStringLiteral("OpenFile")] = QStringLiteral("/opened/here/");
    settings.values[QStringLiteral("SaveFile")] = QStringLiteral("/saved/here/");
    commands.Open();
    commands.SaveAs();
    EXPECT_EQ(ui.openFolders.last(), u"/opened/here/");
    EXPECT_EQ(ui.saveFolders.last(), u"/saved/here/");
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(FileCommandsTest, SaveAsMendsTheExtensionAndRemembersTheFolder)
{
    file.modified = true;
    ui.saveChoice = UserFile(QStringLiteral("Label.TVL"));
    EXPECT_TRUE(commands.SaveAs());
    EXPECT_EQ(file.path, UserFile(QStringLiteral("Label.tvl")));
    EXPECT_EQ(file.title, u"Label.tvl");
    EXPECT_FALSE(file.modified);
    EXPECT_EQ(settings.values[QStringLiteral("SaveFile")], userDir.path() + u'/');
    EXPECT_EQ(ui.recent, QStringList{file.path});
}

TEST_F(FileCommandsTest, UnsavedChangesAreNeverLostToAClosedPromptOrAFailedSave)
{
    file.title = QStringLiteral("Mine.tvl");
    file.modified = true;

    ui.answer = FileCommandsUi::SaveAnswer::Cancel; // also what closing the box answers
    EXPECT_FALSE(commands.QuerySaveChanges());
    EXPECT_TRUE(file.modified);
    EXPECT_EQ(ui.prompts, QStringList{QStringLiteral("Mine.tvl")});

    ui.answer = FileCommandsUi::SaveAnswer::Yes; // no path: Save As, which the user cancels
    EXPECT_FALSE(commands.QuerySaveChanges());
    EXPECT_TRUE(file.modified);

    ui.saveChoice = QStringLiteral("/nonexistent-folder/x.tvl"); // the write fails
    EXPECT_FALSE(commands.QuerySaveChanges());
    EXPECT_TRUE(file.modified);
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("Error saving file.\ncannot write")});

    ui.answer = FileCommandsUi::SaveAnswer::No;
    EXPECT_TRUE(commands.QuerySaveChanges());
    EXPECT_FALSE(file.modified);
}

TEST_F(FileCommandsTest, OpeningAnUnreadableDesignKeepsTheOpenOne)
{
    WriteFile(UserFile(QStringLiteral("mine.tvl")), "Single/Jewel");
    WriteFile(UserFile(QStringLiteral("broken.tvl")), "garbage");
    ASSERT_TRUE(commands.OpenDesignPath(UserFile(QStringLiteral("mine.tvl"))));

    ui.openChoice = UserFile(QStringLiteral("broken.tvl"));
    commands.Open();
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("Error 153 - Step: 4")});
    EXPECT_EQ(file.path, UserFile(QStringLiteral("mine.tvl")));
    EXPECT_EQ(store.reads.size(), 2);
    EXPECT_EQ(settings.values[QStringLiteral("OpenFile")], userDir.path() + u'/');
}

TEST_F(FileCommandsTest, RecentFilesOpenWithoutAskingAndMissingOnesAreReported)
{
    file.modified = true;
    EXPECT_FALSE(commands.OpenDesignPath(UserFile(QStringLiteral("gone.tvl"))));
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("Error opening file.")});
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_TRUE(file.modified);
}

TEST_F(FileCommandsTest, NewWithoutTheDefaultTemplateBuildsABlankDesign)
{
    file.SetPath(UserFile(QStringLiteral("old.tvl")));
    ui.newChoice = 40;
    commands.New();
    EXPECT_EQ(store.blanks, 1);
    EXPECT_EQ(store.live.albumHeader.discMode, u"Double");
    EXPECT_EQ(store.live.albumHeader.caseKind, u"DVD");
    EXPECT_EQ(file.title, u"Untitled.tvl");
    EXPECT_TRUE(file.path.isEmpty());
    EXPECT_FALSE(file.modified);
}

TEST_F(FileCommandsTest, NewWithTheDefaultTemplateReadsItsFileAsAnUntitledSample)
{
    WriteFile(ProgramFile(QStringLiteral("Default1_dvd.tvl")), "Single/DVD");
    ui.newChoice = 31;
    commands.New();
    EXPECT_EQ(store.reads, QStringList{QStringLiteral("Default1_dvd.tvl")});
    EXPECT_EQ(file.title, u"Untitled.tvl");
    EXPECT_EQ(file.path, ProgramFile(QStringLiteral("Default1_dvd.tvl")));
    EXPECT_EQ(store.live.albumHeader.Field(0, AlbumField::Artist), QStringLiteral("Artist") + kEnd);
}

TEST_F(FileCommandsTest, AMissingDefaultOfTheChosenKindIsBuiltAndKeptNotTakenFromTheFallback)
{
    WriteFile(ProgramFile(QStringLiteral("Default.tvl")), "Single/Jewel");
    for (const auto& [choice, name, content] :
         {std::tuple{31, "Default1_dvd.tvl", "Single/DVD"}, std::tuple{21, "Default2.tvl", "Double/Jewel"}}) {
        store.reads.clear();
        store.writes.clear();
        ui.newChoice = choice;
        commands.New();
        EXPECT_EQ(store.writes, QStringList{QString::fromLatin1(name)});
        EXPECT_EQ(ReadFile(ProgramFile(QString::fromLatin1(name))), content);
        EXPECT_EQ(store.reads, QStringList{QString::fromLatin1(name)}) << "Default.tvl is not read";
        EXPECT_EQ(file.title, u"Untitled.tvl");
    }
    EXPECT_EQ(ReadFile(ProgramFile(QStringLiteral("Default1.tvl"))), "") << "Default1.tvl is not rewritten";
}

TEST_F(FileCommandsTest, StartWithoutDefaultFilesWritesABlankDefault)
{
    commands.LoadStartupDesign(QString());
    EXPECT_EQ(store.blanks, 1);
    EXPECT_EQ(store.writes, QStringList{QStringLiteral("Default1.tvl")});
    EXPECT_EQ(settings.values[QStringLiteral("defTemplate")], u"Default1.tvl");
    EXPECT_EQ(ReadFile(ProgramFile(QStringLiteral("Default1.tvl"))), "Single/Jewel");
    EXPECT_EQ(file.title, u"Untitled.tvl");
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(FileCommandsTest, StartWithAnUnwritableProgramFolderShowsTheBlankDesignAfterOneMessage)
{
    DesignFileCommands readOnly{file, store, ui, settings, QStringLiteral("/nonexistent-folder")};
    readOnly.LoadStartupDesign(QString());
    EXPECT_EQ(store.blanks, 1);
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("Error saving the default file.\ncannot write")});
    EXPECT_TRUE(store.HasDesign());
}

TEST_F(FileCommandsTest, ADamagedDefaultFallsBackOnceAndIsRewritten)
{
    settings.values[QStringLiteral("defTemplate")] = QStringLiteral("Default2.tvl");
    WriteFile(ProgramFile(QStringLiteral("Default2.tvl")), "garbage");
    WriteFile(ProgramFile(QStringLiteral("Default.tvl")), "Single/Jewel");
    commands.LoadStartupDesign(QString());
    EXPECT_EQ(store.reads, (QStringList{QStringLiteral("Default2.tvl"), QStringLiteral("Default.tvl")}));
    EXPECT_EQ(store.writes, QStringList{QStringLiteral("Default1.tvl")});
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_TRUE(file.fallback);
}

TEST_F(FileCommandsTest, ACommandLineFileThatCannotBeReadFallsBackToTheDefault)
{
    WriteFile(ProgramFile(QStringLiteral("Default1.tvl")), "Single/Jewel");
    commands.LoadStartupDesign(UserFile(QStringLiteral("missing.tvl")));
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("Error opening file.")});
    EXPECT_EQ(store.reads, QStringList{QStringLiteral("Default1.tvl")});
}

TEST_F(FileCommandsTest, SaveAsDefaultDesignKeepsTheUserFile)
{
    WriteFile(UserFile(QStringLiteral("mine.tvl")), "Double/Jewel");
    ASSERT_TRUE(commands.OpenDesignPath(UserFile(QStringLiteral("mine.tvl"))));
    file.modified = true;
    EXPECT_TRUE(commands.SaveAsDefaultDesign());
    EXPECT_EQ(ReadFile(ProgramFile(QStringLiteral("Default2.tvl"))), "Double/Jewel");
    EXPECT_EQ(file.path, UserFile(QStringLiteral("mine.tvl")));
    EXPECT_EQ(file.title, u"mine.tvl");
    EXPECT_FALSE(file.modified);
    EXPECT_EQ(settings.values[QStringLiteral("defTemplate")], u"Default2.tvl");
}

} // namespace
} // namespace tvl
