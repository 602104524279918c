#include "app/session/DesignSession.h"
#include "app/settings/StoreSettings.h"
#include "document/commands/DefaultDesigns.h"
#include "document/files/RecoveryCopy.h"
#include "editing/CMervo6View.h"
#include "stock/BuildSurfaceItems.h"
#include "stock/StockCatalogue.h"
#include "tests/app/ProgramRun.h"

#include <QAction>
#include <QApplication>
#include <gtest/gtest.h>

namespace tvl {
namespace {

class SilentUi : public FileCommandsUi
{
public:
    SaveAnswer AskSaveChanges(const QString&) override { return SaveAnswer::No; }
    void ShowError(const QString& text) override { errors.append(text); }
    std::optional<QString> ChooseOpenPath(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseSavePath(const QString&, const QString&) override { return std::nullopt; }
    std::optional<int> ChooseNewDesign() override { return std::nullopt; }
    void AddRecentFile(const QString&) override {}
    QStringList errors;
};

// The window, document, view and session of one run, over design files written into a folder.
class DesignSessionTest : public testing::Test
{
protected:
    QString WriteDesign(const char* name, const char* discMode, QStringView caseKey, const char* caseKind)
    {
        CLabelDim disc;
        CLabelDim caseStock;
        MakeBuiltInStock(disc, u"Disc");
        MakeBuiltInStock(caseStock, caseKey);
        LabelDesign design;
        design.ReplaceItems(
            BuildSurfaceItems(disc, caseStock, QString::fromLatin1(discMode), DiscPositionMode::DiscOnTop));
        design.albumHeader.discMode = QString::fromLatin1(discMode);
        FillSampleAlbum(design);
        const QString path = dir.filePath(QString::fromLatin1(name));
        const LiveDesignState live{QStringLiteral("Disc 1"), QStringLiteral("1"),
                                   QString::fromLatin1(discMode), QString::fromLatin1(caseKind)};
        EXPECT_TRUE(WriteDesignFile(path, design, live));
        return path;
    }

    bool SecondDiscShown() const { return run.window.Action(Command::ShowSecondDisc)->isVisible(); }

    QTemporaryDir dir;
    QStringList opened;
    // The document outlives the window, which owns the view that listens to it.
    DesignDocument document;
    test::ProgramRun run{dir, &opened};
    StoreSettings storeSettings{run.store};
    StockCatalogue catalogue{dir.path(), storeSettings};
    RecoveryCopy recovery{dir.filePath(QStringLiteral("state")), QCoreApplication::applicationPid()};
    CMervo6View* view = new CMervo6View(document);
    SilentUi ui;
    DesignSession session{run.window,    document,    *view,      catalogue, ui,
                          storeSettings, run.request, dir.path(), recovery};
};

// Starting with a double design named on the command line, and each design opened after another, the
// surface bar offers "Disc 2" exactly when the open design has a second disc.
TEST_F(DesignSessionTest, TheSurfaceBarFollowsTheDesignJustOpened)
{
    run.window.SetLabelView(view);
    const QString doubleDvd = WriteDesign("double.tvl", "Double", u"DVD", "DVD");
    const QString singleJewel = WriteDesign("single.tvl", "Single", u"Jewel", "Jewel");
    session.Start(doubleDvd);
    EXPECT_TRUE(document.IsDouble());
    EXPECT_TRUE(SecondDiscShown());
    ASSERT_TRUE(session.commands().OpenDesignPath(singleJewel));
    EXPECT_FALSE(SecondDiscShown());
    ASSERT_TRUE(session.commands().OpenDesignPath(doubleDvd));
    EXPECT_TRUE(SecondDiscShown());
    EXPECT_EQ(document.caseKind(), QStringLiteral("DVD"));
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(DesignSessionTest, SavingRemovesTheRecoveryCopyAndInsertTextIsOneStep)
{
    run.window.SetLabelView(view);
    const QString path = WriteDesign("single.tvl", "Single", u"Jewel", "Jewel");
    session.Start(path);
    for (int i = 0; i < RecoveryKeeper::kEditsPerCopy; ++i)
        run.window.Action(Command::InsertText)->trigger();
    EXPECT_EQ(document.history().stepCount(), RecoveryKeeper::kEditsPerCopy);
    EXPECT_TRUE(document.design().FindItem(u"Text 10"));
    EXPECT_EQ(document.selectedName(), QStringLiteral("Text 10"));
    EXPECT_TRUE(recovery.Exists()) << "the tenth edit writes the copy";
    ASSERT_TRUE(session.commands().Save());
    EXPECT_FALSE(recovery.Exists());
    EXPECT_FALSE(document.file().modified);
}

} // namespace
} // namespace tvl
