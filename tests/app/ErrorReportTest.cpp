#include "app/messages/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>

namespace tvl {
namespace {

class ErrorReportTest : public testing::Test
{
protected:
    void SetUp() override
    {
        previous = SetErrorPresenter([this](const QString& text) { reports.append(text); });
    }
    void TearDown() override { SetErrorPresenter(previous); }

    QStringList reports;
    ErrorPresenter previous;
};

TEST_F(ErrorReportTest, TextsWithAndWithoutStep)
{
    EXPECT_EQ(ErrorText(279), QStringLiteral("Error 279"));
    EXPECT_EQ(ErrorStepText(950, 12), QStringLiteral("Error 950 - Step: 12"));
    ReportError(121);
    ReportErrorStep(17, 3);
    EXPECT_EQ(reports, (QStringList{QStringLiteral("Error 121"), QStringLiteral("Error 17 - Step: 3")}));
}

TEST_F(ErrorReportTest, FailingRoutineReportsAndReturnsItsNeutralResult)
{
    int changed = 0;
    const int result = Guarded(950, -1, [&](int& step) {
        step = 5;
        changed = 1;
        step = 12;
        throw std::runtime_error("disc vanished");
        return 7;
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(changed, 1) << "changes made before the failure stay";
    EXPECT_EQ(reports, QStringList{QStringLiteral("Error 950 - Step: 12")});

    reports.clear();
    Guarded(305, [] { throw 42; });
    EXPECT_EQ(reports, QStringList{QStringLiteral("Error 305")});

    reports.clear();
    EXPECT_EQ(Guarded(1, QString(), [] { return QStringLiteral("done"); }), QStringLiteral("done"));
    EXPECT_TRUE(reports.isEmpty());
}

TEST(ErrorReportBoxTest, ShowsPlainBoxCaptionedWithTheProgramName)
{
    QString caption;
    QString text;
    bool hasIcon = true;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        hasIcon = box->icon() != QMessageBox::NoIcon;
        box->accept();
    });
    ReportErrorStep(93, 4);
    EXPECT_EQ(caption, QStringLiteral("Tovrelline"));
    EXPECT_EQ(text, QStringLiteral("Error 93 - Step: 4"));
    EXPECT_FALSE(hasIcon);
}

} // namespace
} // namespace tvl
