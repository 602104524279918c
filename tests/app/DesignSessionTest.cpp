#include "WindowRun.h"

#include "app/session/DesignSession.h"
#include "app/settings/StoreSettings.h"
#include "document/commands/FileCommandPorts.h"
#include "editing/CMervo6View.h"
#include "stock/StockCatalogue.h"
#include "tests/document/files/SampleDesign.h"

#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tvl {
namespace {

class RecordingUi : public FileCommandsUi
{
public:
    SaveAnswer AskSaveChanges(const QString&) override { return SaveAnswer::Cancel; }
    void ShowError(const QString& text) override { errors.append(text); }
    std::optional<QString> ChooseOpenPath(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseSavePath(const QString&, const QString&) override { return std::nullopt; }
    std::optional<int> ChooseNewDesign() override { return std::nullopt; }
    void AddRecentFile(const QString&) override {}

    QStringList errors;
};

// The window tells the user about a picture it cannot show, and a save that fails says which file and why
// and leaves the design modified.
TEST(DesignSessionTest, PictureNoticeInTheStatusBarAndAFailedSaveKeepsTheDesignModified)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("mine.tvl"));
    {
        LabelDesign design = MakeSampleDesign();
        CRichChild* item = design.FindItem(u"Image(2)");
        item->image.reset();
        item->undecodedPicture = {2, QByteArray("\x89PNG\r\n\x1a\n cut short")};
        ASSERT_TRUE(WriteDesignFile(path, design, SampleState()));
    }

    QStringList opened;
    test::WindowRun run(dir, &opened);
    auto* view = new CMervo6View;
    run.window.SetLabelView(view);
    StoreSettings settings(run.store);
    StockCatalogue catalogue(dir.path() + u'/', settings);
    catalogue.LoadCatalogue();
    RecordingUi ui;
    DesignSession session(run.window, *view, catalogue, ui, settings, run.request, dir.path() + u'/');
    session.Start(path);
    ASSERT_EQ(session.file().path, path);
    EXPECT_EQ(run.window.statusBar()->currentMessage(),
              u"A picture could not be shown: Image(2) (its data is kept as it was)");

    // The design's file has become a pipe: saving is refused, the design stays modified.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    session.MarkModified();
    EXPECT_FALSE(session.commands().Save());
    EXPECT_TRUE(session.file().modified);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors.front().startsWith(QStringLiteral("Error saving file.\n") + path + u':'))
        << ui.errors.front().toStdString();
    EXPECT_TRUE(ui.errors.front().contains(QStringLiteral("not a regular file")));
}

} // namespace
} // namespace tvl
