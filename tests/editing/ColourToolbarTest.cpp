#include "editing/properties/ColourToolbar.h"
#include "document/design/InsertEdits.h"
#include "tests/editing/BlankDocument.h"
#include "widgets/ColorButton.h"
#include "widgets/ColourPalette.h"
#include "widgets/CustomColourDialog.h"
#include "widgets/ErrorReport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <stdexcept>

namespace tvl {
namespace {

using F = ColourFieldKind;

std::array<int, 6> Fields(const CustomColourDialog& dialog)
{
    std::array<int, 6> values{};
    for (int i = 0; i < 6; ++i)
        values[static_cast<size_t>(i)] = dialog.Field(static_cast<F>(i))->value();
    return values;
}

TEST(CustomColourDialog, TheRgbAndHsbFieldsFollowEachOther)
{
    CustomColourDialog dialog(QColor(255, 0, 0), {});
    QList<QColor> live;
    dialog.SetLiveListener([&](QColor colour) { live.append(colour); });
    EXPECT_EQ(Fields(dialog), (std::array<int, 6>{255, 0, 0, 0, 100, 100}));
    EXPECT_TRUE(live.isEmpty()) << "opening shows, it does not change";

    dialog.Field(F::Green)->setValue(128);
    dialog.Field(F::Blue)->setValue(255);
    dialog.Field(F::Red)->setValue(0);
    EXPECT_EQ(Fields(dialog), (std::array<int, 6>{0, 128, 255, 210, 100, 100}));
    EXPECT_EQ(dialog.Colour(), QColor(0, 128, 255));

    dialog.Field(F::Hue)->setValue(120);
    dialog.Field(F::Brightness)->setValue(50);
    EXPECT_EQ(Fields(dialog), (std::array<int, 6>{0, 128, 0, 120, 100, 50}));
    EXPECT_EQ(dialog.Colour(), QColor(0, 128, 0));

    // A grey has no hue: the hue field keeps the one it had.
    dialog.Field(F::Red)->setValue(128);
    EXPECT_EQ(Fields(dialog), (std::array<int, 6>{128, 128, 0, 60, 100, 50}));
    dialog.Field(F::Blue)->setValue(128);
    EXPECT_EQ(Fields(dialog), (std::array<int, 6>{128, 128, 128, 60, 0, 50}));
    ASSERT_EQ(live.size(), 7);
    EXPECT_EQ(live.back(), QColor(128, 128, 128));

    dialog.Field(F::Saturation)->setValue(100);
    EXPECT_EQ(dialog.Colour(), QColor(128, 128, 0));
}

TEST(CustomColourDialog, CustomSwatchesComeFromAndGoToTheStoredText)
{
    EXPECT_EQ(FormatCustomColours(ReadCustomColours(QStringLiteral("FF0000,00ff00,bad,,123456"))),
              QStringLiteral("FF0000,00FF00,FFFFFF,FFFFFF,123456,FFFFFF,FFFFFF,FFFFFF"));

    CustomColourDialog dialog(Qt::black, ReadCustomColours(QStringLiteral("FF0000,00FF00")));
    QString stored;
    dialog.SetCustomColoursListener(
        [&](const QList<QColor>& colours) { stored = FormatCustomColours(colours); });
    QList<QColor> live;
    dialog.SetLiveListener([&](QColor colour) { live.append(colour); });
    dialog.CustomSwatch(1)->click();
    EXPECT_EQ(dialog.Colour(), QColor(0, 255, 0));
    EXPECT_EQ(live, QList<QColor>{QColor(0, 255, 0)}) << "a swatch is a live change";
    EXPECT_TRUE(stored.isEmpty());

    // "Add to Custom Colors" fills the swatch last clicked, then the ones after it.
    dialog.Field(F::Blue)->setValue(255);
    dialog.AddButton()->click();
    EXPECT_EQ(stored, QStringLiteral("FF0000,00FFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF"));
    dialog.Field(F::Green)->setValue(0);
    dialog.AddButton()->click();
    EXPECT_EQ(stored, QStringLiteral("FF0000,00FFFF,0000FF,FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF"));

    CustomColourDialog again(Qt::black, ReadCustomColours(stored));
    EXPECT_EQ(again.CustomColours()[2], QColor(0, 0, 255));

    for (const QWidget* control : dialog.findChildren<QWidget*>()) {
        // A spin box speaks for its own text line.
        if (control->focusPolicy() != Qt::NoFocus && control->isVisibleTo(&dialog) &&
            !qobject_cast<const QAbstractSpinBox*>(control->parentWidget())) {
            const auto* button = qobject_cast<const QAbstractButton*>(control);
            EXPECT_TRUE(!control->accessibleName().isEmpty() || (button && !button->text().isEmpty()))
                << control->metaObject()->className();
        }
    }
}

class ColourToolbarTest : public testing::Test
{
protected:
    ColourToolbarTest()
    {
        test::OpenBlankDesign(document, "Single");
        ColourPorts ports;
        ports.textSelection = [this] { return selection; };
        ports.customColours = [this] { return customColours; };
        ports.saveCustomColours = [this](const QString& colours) { customColours = colours; };
        ports.dialogPosition = [this] { return position; };
        ports.saveDialogPosition = [this](QPoint at) { position = at; };
        toolbar = std::make_unique<ColourToolbar>(bar, document, std::move(ports));
        const QRect rect(document.design().FindCover(u"Disc 1")->Rect().center(), QSize(1500, 300));
        text = CreateTextItem(document, QStringLiteral("Text"), rect, true)->name;
        original = document.design().FindItem(text)->colors;
        steps = document.history().stepCount();
    }

    // Opens the custom colour dialog and, once it shows, lets act work on it.
    void WithDialog(bool surface, const std::function<void(CustomColourDialog&)>& act)
    {
        bool acted = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<CustomColourDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
            acted = true;
            if (dialog->isVisible())
                dialog->reject();
        });
        toolbar->OpenCustomColours(surface);
        EXPECT_TRUE(acted);
    }

    const CRichChild& Text() const { return *document.design().FindItem(text); }
    const CRichChild& Cover() const { return *document.design().FindCover(document.currentSurface()); }

    DesignDocument document;
    QToolBar bar;
    std::unique_ptr<ColourToolbar> toolbar;
    TextRange selection;
    QString customColours;
    QPoint position{-1, -1};
    QString text;
    std::vector<std::optional<ItemColor>> original;
    int steps = 0;
};

TEST_F(ColourToolbarTest, LiveChangesRecordNothingAndCancelGivesTheColourBack)
{
    WithDialog(false, [&](CustomColourDialog& dialog) {
        dialog.Field(F::Red)->setValue(200);
        dialog.Field(F::Green)->setValue(10);
        EXPECT_EQ(Text().colors[0], 0x000ac8u) << "the label follows at once";
        EXPECT_EQ(document.history().stepCount(), steps);
        dialog.move(40, 50);
        dialog.reject();
    });
    EXPECT_EQ(Text().colors, original);
    EXPECT_EQ(document.history().stepCount(), steps);
    EXPECT_EQ(position, QPoint(40, 50)) << "where the dialog was closed";
}

TEST_F(ColourToolbarTest, OkIsOneStepFromTheColourTheDialogOpenedWith)
{
    selection = {1, 3};
    WithDialog(false, [&](CustomColourDialog& dialog) {
        dialog.Field(F::Blue)->setValue(255);
        dialog.Field(F::Green)->setValue(255);
        dialog.accept();
    });
    EXPECT_EQ(document.history().stepCount(), steps + 1);
    EXPECT_EQ(Text().colors[1], 0xffff00u);
    EXPECT_EQ(Text().colors[3], original[0]) << "the text after the selection keeps its colour";
    EXPECT_EQ(toolbar->TextButton()->Color(), QColor(0, 255, 255)) << "the colour of the selection";
    document.Undo();
    EXPECT_EQ(Text().colors, original);

    // A surface colour picked on the palette is one step too.
    const auto cover = Cover().colors;
    toolbar->SurfacePalette()->Swatch(QStringLiteral("Red"))->click();
    EXPECT_EQ(Cover().colors.front(), 0x0000ffu);
    EXPECT_EQ(toolbar->SurfaceButton()->Color(), QColor(255, 0, 0));
    EXPECT_EQ(document.history().stepCount(), steps + 1);
    document.Undo();
    EXPECT_EQ(Cover().colors, cover);
}

TEST_F(ColourToolbarTest, TheButtonsFollowTheSelection)
{
    EXPECT_TRUE(toolbar->TextButton()->isEnabled());
    document.Select(QString());
    EXPECT_FALSE(toolbar->TextButton()->isEnabled()) << "no text is edited";
    EXPECT_TRUE(toolbar->SurfaceButton()->isEnabled()) << "the shown surface";
    for (const QWidget* control : bar.findChildren<QToolButton*>()) {
        // The bar's own button for cut-off buttons is named by the main window.
        if (control->objectName() != u"qt_toolbar_ext_button") {
            EXPECT_FALSE(control->accessibleName().isEmpty());
        }
    }
    EXPECT_NE(toolbar->TextPalette()->Swatch(QStringLiteral("Black")), nullptr);
}

// A pick that fails on the way is reported with the stage it reached; the colour already given stays and
// the program goes on.
TEST_F(ColourToolbarTest, AFailureIsReportedWithTheStageReached)
{
    QStringList reports;
    const ErrorPresenter previous = SetErrorPresenter([&](const QString& report) { reports.append(report); });
    ColourPorts ports;
    ports.textSelection = [this] { return selection; };
    ports.focusView = [] { throw std::runtime_error("the view is gone"); };
    toolbar = std::make_unique<ColourToolbar>(bar, document, std::move(ports));
    toolbar->TextPalette()->Swatch(QStringLiteral("Red"))->click();
    SetErrorPresenter(previous);
    EXPECT_EQ(reports, QStringList{QStringLiteral("Error 772 - Step 3")});
    EXPECT_EQ(Text().colors[0], 0x0000ffu);
    EXPECT_EQ(document.history().stepCount(), steps + 1);
}

} // namespace
} // namespace tvl
