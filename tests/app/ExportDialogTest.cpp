#include "app/export/ExportDialog.h"
#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "stock/BuildSurfaceItems.h"
#include "stock/CLabelDim.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <gtest/gtest.h>

namespace tvl {
namespace {

constexpr QRgb kDiscRed = 0xffff0000u;

LabelDesign MakeDesign(QStringView discMode)
{
    CLabelDim disc;
    CLabelDim jewel;
    MakeBuiltInStock(disc, u"Disc");
    MakeBuiltInStock(jewel, u"Jewel");
    LabelDesign design;
    design.ReplaceItems(BuildSurfaceItems(disc, jewel, discMode, DiscPositionMode::DiscOnTop));
    design.FindCover(kDisc1)->colors = {0x000000ffu};
    design.FindCover(kBackCover)->colors = {0x00ff0000u};
    return design;
}

void Wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void WaitForExport(const ExportDialog& dialog)
{
    QElapsedTimer timer;
    timer.start();
    while (dialog.Exporting() && timer.elapsed() < 120000)
        Wait(20);
}

QStringList Entries(const QComboBox* box)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries.append(box->itemText(i));
    return entries;
}

class ExportDialogTest : public ::testing::Test
{
protected:
    ExportDialogSetup Setup(int defaultLabel = 2)
    {
        ExportDialogSetup setup;
        setup.defaultLabel = defaultLabel;
        setup.settingsPath = dir.filePath(QStringLiteral("export.ini"));
        setup.ask = [this](const QString& text, const QString& buttons) {
            questions.append(text + u'|' + buttons);
            return answer;
        };
        setup.chooseFile = [this](const QString& proposed, const QString& filter) -> std::optional<QString> {
            proposals.append(proposed + u'|' + filter);
            if (chosen.isEmpty())
                return std::nullopt;
            return chosen;
        };
        return setup;
    }

    QTemporaryDir dir;
    LabelDesign design = MakeDesign(u"Single");
    QStringList questions;
    QStringList proposals;
    QString chosen;
    int answer = 2;
};

TEST_F(ExportDialogTest, LabelsSizesAndBorders)
{
    ExportDialog dialog(design, Setup());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Export Label To Image File"));
    EXPECT_EQ(Entries(dialog.LabelBox()),
              (QStringList{QStringLiteral("Front Cover"), QStringLiteral("Back Cover"),
                           QStringLiteral("Disc Label")}));
    EXPECT_EQ(dialog.LabelBox()->currentIndex(), 2) << "nothing remembered: the label the window suggests";
    EXPECT_EQ(dialog.TypeBox()->currentText(), QStringLiteral("PNG File (*.png)"));
    EXPECT_EQ(dialog.ResolutionBox()->currentText(), QStringLiteral("300 DPI"));
    EXPECT_EQ(dialog.PixelSizeLine()->text(), QStringLiteral("1387 x 1387 pixels "));
    EXPECT_EQ(dialog.PhysicalSizeLine()->text(), QStringLiteral("4.623 x 4.623 inches"));
    dialog.ResolutionBox()->setCurrentIndex(2);
    dialog.OverlapBox()->setCurrentIndex(2);
    EXPECT_EQ(dialog.OverlapBox()->currentText(), QStringLiteral("0.10 ''"));
    EXPECT_EQ(dialog.PixelSizeLine()->text(), QStringLiteral("2895 x 2895 pixels "));

    EXPECT_EQ(Entries(dialog.BorderBox()),
              (QStringList{QStringLiteral("No Border"), QStringLiteral("Border")}));
    dialog.LabelBox()->setCurrentIndex(1);
    EXPECT_EQ(Entries(dialog.BorderBox()),
              (QStringList{QStringLiteral("No Border"), QStringLiteral("Border"),
                           QStringLiteral("Fold Lines"), QStringLiteral("Border & Fold Lines")}));
    dialog.BorderBox()->setCurrentIndex(3);
    dialog.LabelBox()->setCurrentIndex(0);
    EXPECT_EQ(dialog.BorderBox()->currentText(), QStringLiteral("Border & Fold Line")) << "a folded front";
    dialog.LabelBox()->setCurrentIndex(2);
    EXPECT_EQ(dialog.BorderBox()->currentText(), QStringLiteral("Border")) << "the last entry stands in";

    const LabelDesign dvd = MakeDesign(u"Double");
    ExportDialogSetup setup = Setup(3);
    setup.caseKind = QStringLiteral("DVD");
    setup.doubleDisc = true;
    setup.units = LengthUnits::Millimeters;
    ExportDialog metric(dvd, setup);
    EXPECT_EQ(Entries(metric.LabelBox()), (QStringList{QStringLiteral("Booklet"), QStringLiteral("Case"),
                                                       QStringLiteral("Disc 1"), QStringLiteral("Disc 2")}));
    EXPECT_EQ(metric.LabelBox()->currentIndex(), 3);
    EXPECT_EQ(metric.OverlapBox()->itemText(3), QStringLiteral("3.8 mm"));
    EXPECT_EQ(metric.PhysicalSizeLine()->text(), QStringLiteral("117.4 x 117.4 millimeters"));
}

TEST_F(ExportDialogTest, PreviewFollowsTheLabel)
{
    ExportDialog dialog(design, Setup());
    dialog.resize(700, 500);
    dialog.show();
    Wait(120);
    const QImage disc = dialog.PreviewImage();
    ASSERT_FALSE(disc.isNull());
    EXPECT_EQ(disc.width(), disc.height());
    EXPECT_EQ(disc.pixel(disc.width() / 10, disc.height() / 2) | 0xff000000u, kDiscRed);
    dialog.LabelBox()->setCurrentIndex(1);
    Wait(120);
    const QImage back = dialog.PreviewImage();
    EXPECT_GT(back.width(), back.height());
    EXPECT_EQ(back.pixel(back.width() / 2, back.height() / 2) | 0xff000000u, 0xff0000ffu);
}

TEST_F(ExportDialogTest, SavesTheImageAndRemembersTheChoices)
{
    ExportDialog dialog(design, Setup());
    dialog.ResolutionBox()->setCurrentIndex(0);
    chosen = dir.filePath(QStringLiteral("label.PNG"));
    dialog.SaveButton()->click();
    ASSERT_EQ(proposals.size(), 1);
    EXPECT_TRUE(proposals[0].endsWith(QStringLiteral("/Untitled.png|PNG File (*.png)")))
        << proposals[0].toStdString();
    EXPECT_TRUE(dialog.SaveButton()->isHidden());
    EXPECT_TRUE(dialog.windowTitle().startsWith(u" Creating Image File") ||
                dialog.windowTitle().startsWith(u" Saving Image File"));
    WaitForExport(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(questions.isEmpty()) << questions.join(u'\n').toStdString();

    const QImage written(dir.filePath(QStringLiteral("label.png")));
    ASSERT_FALSE(written.isNull()) << "label.PNG is written as label.png";
    EXPECT_EQ(written.size(), QSize(693, 693));
    EXPECT_EQ(written.dotsPerMeterX(), 5906);
    EXPECT_EQ(written.pixel(40, 346) | 0xff000000u, kDiscRed);
    EXPECT_EQ(written.pixel(346, 346) | 0xff000000u, 0xffffffffu) << "the hub is left white";

    const std::optional<ExportSettings> remembered =
        LoadExportSettings(dir.filePath(QStringLiteral("export.ini")));
    ASSERT_TRUE(remembered);
    EXPECT_EQ(remembered->label, 2);
    EXPECT_EQ(remembered->resolution, 0);
    EXPECT_EQ(remembered->path, chosen);

    // The next dialog starts from what was remembered.
    ExportDialog next(design, Setup(0));
    EXPECT_EQ(next.LabelBox()->currentIndex(), 2);
    EXPECT_EQ(next.ResolutionBox()->currentIndex(), 0);
    chosen.clear();
    next.SaveButton()->click();
    EXPECT_EQ(proposals.last(), dir.filePath(QStringLiteral("Untitled.png|PNG File (*.png)")));
}

TEST_F(ExportDialogTest, AppendedExtensionAsksBeforeReplacing)
{
    QFile old(dir.filePath(QStringLiteral("label.jpg.png")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ExportDialog dialog(design, Setup());
    chosen = dir.filePath(QStringLiteral("label.jpg"));
    answer = 2;
    dialog.SaveButton()->click();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(
        questions[0].endsWith(u"label.jpg.png already exists.\r\nDo you want to replace it?|Yes`No`"));
    EXPECT_FALSE(dialog.Exporting());
    EXPECT_EQ(QFileInfo(old.fileName()).size(), 3);

    chosen = dir.filePath(QStringLiteral("label"));
    dialog.SaveButton()->click();
    WaitForExport(dialog);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("label.png"))));
}

TEST_F(ExportDialogTest, FailedSaveIsReportedAndTheDialogStays)
{
    ExportDialog dialog(design, Setup());
    chosen = dir.filePath(QStringLiteral("missing/label.png"));
    dialog.SaveButton()->click();
    WaitForExport(dialog);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].endsWith(u"|OK`"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.SaveButton()->isHidden());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Export Label To Image File"));
    EXPECT_TRUE(LoadExportSettings(dir.filePath(QStringLiteral("export.ini"))))
        << "written after a failure too";
}

TEST_F(ExportDialogTest, CancelStopsTheExportAndLeavesNoFile)
{
    {
        ExportDialog dialog(design, Setup());
        dialog.LabelBox()->setCurrentIndex(1);
        dialog.ResolutionBox()->setCurrentIndex(2);
        chosen = dir.filePath(QStringLiteral("back.png"));
        dialog.SaveButton()->click();
        ASSERT_TRUE(dialog.Exporting());
        dialog.reject();
        EXPECT_FALSE(dialog.Exporting());
    }
    // The worker finishes on its own after the dialog is gone.
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("export.ini")});
}

TEST_F(ExportDialogTest, DamagedSettingsFallBack)
{
    QFile file(dir.filePath(QStringLiteral("export.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const int values[] = {9, 1, -4, 3, 7, 0, -30000, -30000};
    file.write(reinterpret_cast<const char*>(values), sizeof values);
    file.write("\x04/tmp", 5);
    file.close();
    ExportDialog dialog(design, Setup(1));
    EXPECT_EQ(dialog.LabelBox()->currentIndex(), 0) << "a label index out of range is the default";
    EXPECT_EQ(dialog.TypeBox()->currentIndex(), 1);
    EXPECT_EQ(dialog.ResolutionBox()->currentIndex(), 1);
    EXPECT_EQ(dialog.OverlapBox()->currentIndex(), 0);
    EXPECT_NE(dialog.pos(), QPoint(-30000, -30000)) << "kept on a screen";
}

} // namespace
} // namespace tvl
