#include "app/print/PrintDialog.h"
#include "app/messages/ErrorReport.h"
#include "app/print/CdPrinterDialog.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/StoreSettings.h"
#include "stock/StockCatalogue.h"
#include "tests/render/SurfaceFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include <stdexcept>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::SurfaceFixture;

// A Print dialog over a design, a catalogue and a settings store of its own.
struct DialogFixture
{
    explicit DialogFixture(QStringView caseKind = u"Jewel", QStringView discMode = u"Single")
        : fixture(caseKind, discMode)
        , store(dir.filePath(u"settings.ini"_s))
        , storeSettings(store)
        , catalogue(dir.path() + u'/', storeSettings)
    {
        catalogue.LoadCatalogue();
        catalogue.ReconcileCaseKind(caseKind);
        this->caseKind = caseKind.toString();
        doubleDisc = discMode == u"Double";
    }

    PrintDialogContext Context()
    {
        return {fixture.design,
                doubleDisc,
                caseKind,
                u"Back Cover"_s,
                catalogue,
                store,
                settings,
                {u"office"_s, u"office-duplex"_s},
                u"office-d"_s,
                false,
                [this] { ++stocksApplied; },
                [this](DiscPositionMode mode) { position = mode; },
                nullptr,
                [this](bool fromPrint) {
                    cdPrinterAsked.push_back(fromPrint);
                    return cdPrinterAnswer;
                },
                [this](const QString& text) { messages.append(text); },
                [this](int stockIndex, bool firstSheet, QWidget*) {
                    editedStocks.emplace_back(stockIndex, firstSheet);
                    if (editStock)
                        editStock(catalogue.stock(stockIndex));
                },
                [this](int copies) {
                    if (copiesFail)
                        throw std::runtime_error("copies");
                    lastCopies = copies;
                }};
    }

    // Makes the current disc stock print on the disc itself.
    void UseDirectToDiscStock()
    {
        auto stock = std::make_unique<CLabelDim>();
        MakeBuiltInStock(*stock, u"Disc");
        stock->name = u"Printable disc"_s;
        stock->paper1 = kDiscPrinterPaper;
        stock->cdPrint1 = {1938, 688, 6563, 5313};
        catalogue.SetCurrentDisc(catalogue.AddStock(std::move(stock)));
    }

    QTemporaryDir dir;
    SurfaceFixture fixture;
    SettingsStore store;
    StoreSettings storeSettings;
    StockCatalogue catalogue;
    AppSettings settings;
    QString caseKind;
    bool doubleDisc = false;
    int stocksApplied = 0;
    std::optional<DiscPositionMode> position;
    std::vector<bool> cdPrinterAsked;
    bool cdPrinterAnswer = true;
    QStringList messages;
    std::vector<std::pair<int, bool>> editedStocks;
    std::function<void(CLabelDim&)> editStock; // what the wizard does to the stock
    bool copiesFail = false;
    int lastCopies = 0;
};

// Types each character as a key press the widget receives, as from the keyboard.
void TypeKeys(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

QStringList TabTexts(const QTabWidget* tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts.append(tabs->tabText(i));
    return texts;
}

TEST(PrintDialogTest, TabsFollowTheCaseKindAndTheEditedSurface)
{
    DialogFixture jewel;
    PrintDialog jewelDialog(jewel.Context(), false);
    EXPECT_EQ(TabTexts(jewelDialog.Tabs()), (QStringList{u"Front"_s, u"Back"_s, u"Disc"_s}));
    EXPECT_EQ(jewelDialog.Tabs()->currentIndex(), 1) << "the back cover is being edited";
    EXPECT_EQ(jewelDialog.windowTitle(), u" Print"_s);
    EXPECT_EQ(jewelDialog.PrinterList()->currentText(), u"office-duplex"_s) << "a prefix match";
    EXPECT_EQ(jewelDialog.PrinterList()->itemText(jewelDialog.PrinterList()->count() - 1),
              kPrintToPdfEntry.toString());
    EXPECT_TRUE(jewelDialog.LabelBox(Disc2Surface)->isHidden()) << "a single design has no disc 2";

    DialogFixture dvd(u"DVD");
    PrintDialog dvdDialog(dvd.Context(), false);
    EXPECT_EQ(TabTexts(dvdDialog.Tabs()), (QStringList{u"Case"_s, u"Booklet"_s, u"Disc"_s}));
    EXPECT_EQ(dvdDialog.Tabs()->currentIndex(), 0);
}

TEST(PrintDialogTest, LabelsCopiesAndTotal)
{
    DialogFixture f;
    PrintDialog dialog(f.Context(), false);
    EXPECT_EQ(dialog.Total()->text(), u"Total pages to print: 0"_s);
    dialog.PrintButton()->click();
    EXPECT_EQ(f.messages, QStringList{u"Please select the labels to print."_s});
    EXPECT_EQ(dialog.result(), 0);

    // Disc 1 and the back on its own sheet: two pages a copy; the button follows its check box.
    dialog.LabelBox(Disc1Surface)->click();
    dialog.LabelButton(BackSurface)->click();
    EXPECT_TRUE(dialog.LabelButton(Disc1Surface)->isChecked());
    EXPECT_TRUE(dialog.LabelBox(BackSurface)->isChecked());
    dialog.Copies()->setValue(3);
    EXPECT_EQ(dialog.Total()->text(), u"Total pages to print: 6"_s);
    EXPECT_EQ(f.store.Number(u"PrintDisc1"_s), 1);
    EXPECT_EQ(f.store.Number(u"PrintBack"_s), 1);
    EXPECT_EQ(f.store.Number(u"PrintFront"_s), std::nullopt);

    dialog.PrintButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const PrintJob job = dialog.Job();
    EXPECT_EQ(job.copies, 3);
    EXPECT_TRUE(job.labels.disc1 && job.labels.back && !job.labels.front);
    EXPECT_TRUE(f.store.String(u"PrintDialog"_s).has_value()) << "the position is kept";
}

TEST(PrintDialogTest, EveryOptionIsWrittenAsItIsChosen)
{
    DialogFixture f;
    PrintDialog dialog(f.Context(), false);
    dialog.Tabs()->setCurrentIndex(2);
    QComboBox* position = dialog.DiscPositionList();
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->count(), 3);
    position->setCurrentIndex(2);
    emit position->activated(2);
    EXPECT_EQ(f.position, DiscPositionMode::DuplicateDisc);
    EXPECT_EQ(f.store.String(u"PrintOptions"_s), u"110113000000100"_s);
}

TEST(PrintDialogTest, CalibrationFieldsTakeDigitsAndAreClampedWhenRead)
{
    DialogFixture f;
    f.settings.printOffset = QPoint(3, -1);
    PrintDialog dialog(f.Context(), true);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), u" Printer Calibration"_s);
    EXPECT_EQ(dialog.PrintButton()->text(), u"Print Calibration Sheet"_s);
    EXPECT_TRUE(dialog.Tabs()->isHidden());
    EXPECT_EQ(dialog.HorizontalOffset()->text(), u"3"_s);

    QLineEdit* horizontal = dialog.HorizontalOffset();
    horizontal->setFocus();
    horizontal->selectAll();
    TypeKeys(horizontal, u"1a2"_s);
    EXPECT_EQ(horizontal->text(), u"12"_s);

    QLineEdit* vertical = dialog.VerticalOffset();
    vertical->setFocus();
    vertical->selectAll();
    TypeKeys(vertical, u"55"_s);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(vertical->parentWidget(), &leave);
    EXPECT_EQ(vertical->text(), u"40"_s) << "clamped on leaving the field";

    // Typed but not yet left: Print reads the field and clamps it all the same.
    horizontal->selectAll();
    TypeKeys(horizontal, u"-99"_s);
    dialog.PrintButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(f.store.String(u"PrintOffset"_s), u"-40,40"_s);
    EXPECT_EQ(dialog.Job().calibration, QPoint(-40, 40));
    EXPECT_TRUE(dialog.Job().calibrationMode);
    EXPECT_TRUE(dialog.Job().labels.disc1);
}

TEST(PrintDialogTest, ADiscPrinterTakesOneDiscAndNoCovers)
{
    DialogFixture f(u"Jewel", u"Double");
    f.UseDirectToDiscStock();
    f.settings.printDisc1 = true;
    f.settings.printDisc2 = true;
    f.settings.printFront = true;
    PrintDialog dialog(f.Context(), false);
    EXPECT_EQ(TabTexts(dialog.Tabs()), (QStringList{u"Front"_s, u"Back"_s, u"Disc 1"_s, u"Disc 2"_s}));
    EXPECT_TRUE(dialog.LabelBox(Disc1Surface)->isChecked());
    EXPECT_FALSE(dialog.LabelBox(Disc2Surface)->isChecked()) << "both ticked as it opens: disc 2 goes";
    EXPECT_FALSE(dialog.LabelBox(FrontSurface)->isChecked());

    dialog.LabelBox(Disc2Surface)->click();
    EXPECT_FALSE(dialog.LabelBox(Disc1Surface)->isChecked());
    EXPECT_TRUE(dialog.LabelBox(Disc2Surface)->isChecked());
    EXPECT_EQ(dialog.Tabs()->tabText(dialog.Tabs()->currentIndex()), u"Disc 2"_s);
    EXPECT_FALSE(dialog.PrinterList()->isEnabled());
    EXPECT_FALSE(dialog.PropertiesButton()->isEnabled());

    // The CD printer step can cancel the job.
    f.cdPrinterAnswer = false;
    dialog.PrintButton()->click();
    EXPECT_EQ(f.cdPrinterAsked, std::vector<bool>{true});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    f.cdPrinterAnswer = true;
    dialog.PrintButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.PrintOnCdPrinter());

    dialog.LabelBox(FrontSurface)->click();
    EXPECT_FALSE(dialog.LabelBox(Disc2Surface)->isChecked()) << "a cover unticks the discs";
    EXPECT_TRUE(dialog.PrinterList()->isEnabled());
}

// "Edit" opens the wizard on the stock the tab's list shows, at the sheet of the tab's label, and the
// dialog shows the stock as the wizard left it.
TEST(PrintDialogTest, EditOpensTheWizardAtTheTabsSheetAndTheDialogFollowsTheEdit)
{
    DialogFixture f;
    PrintDialog dialog(f.Context(), false);
    dialog.show();
    ASSERT_EQ(dialog.Tabs()->currentIndex(), 1);
    const QImage before = dialog.Preview(1)->pixmap().toImage();
    f.editStock = [](CLabelDim& stock) {
        stock.name = u"Renamed jewel"_s;
        stock.top2 += 2000;
    };
    for (int tab = 0; tab < 3; ++tab) {
        dialog.Tabs()->setCurrentIndex(tab);
        ASSERT_NE(dialog.EditButton(tab), nullptr);
        EXPECT_TRUE(dialog.EditButton(tab)->isVisible());
        dialog.EditButton(tab)->click();
        QCoreApplication::sendPostedEvents();
    }
    const int jewel = f.catalogue.currentCase();
    EXPECT_EQ(f.editedStocks, (std::vector<std::pair<int, bool>>{
                                  {jewel, true}, {jewel, false}, {f.catalogue.currentDisc(), true}}));
    EXPECT_EQ(dialog.Tabs()->currentIndex(), 2) << "the tab of the last Edit stays selected";
    auto* list = dialog.Tabs()->widget(0)->findChild<QComboBox*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentText(), u"Renamed jewel"_s);

    // The design follows the stock when the program applies it; the preview shows the design again.
    f.fixture.design.FindCover(kBackCover)->top(f.fixture.design.FindCover(kBackCover)->top() + 2000);
    f.editStock = nullptr;
    dialog.Tabs()->setCurrentIndex(1);
    dialog.EditButton(1)->click();
    QCoreApplication::sendPostedEvents();
    EXPECT_NE(dialog.Preview(1)->pixmap().toImage(), before);
}

// On a DVD case the booklet (the front) is the wizard's first sheet and the case its second.
TEST(PrintDialogTest, EditOnADvdCaseOpensTheSheetOfTheTabsLabel)
{
    DialogFixture f(u"DVD");
    PrintDialog dialog(f.Context(), false);
    ASSERT_EQ(TabTexts(dialog.Tabs()), (QStringList{u"Case"_s, u"Booklet"_s, u"Disc"_s}));
    for (int tab = 0; tab < 2; ++tab) {
        dialog.Tabs()->setCurrentIndex(tab);
        dialog.EditButton(tab)->click();
        QCoreApplication::sendPostedEvents();
    }
    const int dvd = f.catalogue.currentCase();
    EXPECT_EQ(f.editedStocks, (std::vector<std::pair<int, bool>>{{dvd, false}, {dvd, true}}));
}

TEST(PrintDialogTest, NoEditButtonWithoutTheWizard)
{
    DialogFixture f;
    PrintDialogContext context = f.Context();
    context.editStock = nullptr;
    PrintDialog dialog(std::move(context), false);
    EXPECT_TRUE(dialog.EditButton(0)->isHidden());
}

// On a sheet that carries both case labels, a click on one of them selects its tab.
TEST(PrintDialogTest, ClickingALabelOnASharedSheetSelectsItsTab)
{
    DialogFixture f;
    CRichChild* front = f.fixture.design.FindCover(kFrontCover);
    CRichChild* back = f.fixture.design.FindCover(kBackCover);
    front->left(1870);
    front->top(600);
    front->width(4760);
    back->pageCode = u"2"_s;
    back->left(1300);
    back->top(5750);
    PrintDialog dialog(f.Context(), false);
    dialog.show();
    const auto click = [&](int tab, QPoint mils) {
        QLabel* preview = dialog.Preview(tab);
        const QSize picture = preview->pixmap().size();
        const double scale = picture.height() / 11000.0; // a Letter sheet
        const QPoint pixel((preview->width() - picture.width()) / 2 + qRound(mils.x() * scale),
                           (preview->height() - picture.height()) / 2 + qRound(mils.y() * scale));
        QMouseEvent press(QEvent::MouseButtonPress, pixel, preview->mapToGlobal(pixel), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(preview, &press);
    };
    click(1, QPoint(4000, 2000));
    EXPECT_EQ(dialog.Tabs()->currentIndex(), 0) << "the front, from the back tab's preview";
    click(0, back->Rect().center());
    EXPECT_EQ(dialog.Tabs()->currentIndex(), 1);
    click(1, QPoint(200, 200));
    EXPECT_EQ(dialog.Tabs()->currentIndex(), 1) << "outside both labels nothing changes";
}

TEST(CdPrinterDialogTest, TrayListOnlyForSeveralTraysAndTheTipFromPrint)
{
    PrinterSetup setup;
    setup.printerName = u"disc-printer"_s;
    int saved = 0;
    QStringList trays{u"Main"_s};
    CdPrinterDialog single({{u"office"_s, u"disc-printer"_s},
                            setup,
                            [&](const QString&) { return trays; },
                            nullptr,
                            [&] { ++saved; }},
                           false);
    single.show();
    EXPECT_EQ(single.PrinterList()->currentText(), u"disc-printer"_s);
    EXPECT_TRUE(single.TrayList()->isHidden());
    EXPECT_TRUE(single.DoNotShowBox()->isHidden());
    EXPECT_EQ(single.AcceptButton()->text(), u"OK"_s);

    trays = {u"Main"_s, u"CD Tray"_s};
    CdPrinterDialog fromPrint({{u"office"_s, u"disc-printer"_s},
                               setup,
                               [&](const QString&) { return trays; },
                               nullptr,
                               [&] { ++saved; }},
                              true);
    fromPrint.show();
    ASSERT_FALSE(fromPrint.TrayList()->isHidden());
    EXPECT_EQ(fromPrint.AcceptButton()->text(), u"Print"_s);
    EXPECT_TRUE(
        fromPrint.Explanation()->text().contains(u"can also be accessed from the 'Print' dialog box."_s));
    fromPrint.TrayList()->setCurrentIndex(1);
    emit fromPrint.TrayList()->activated(1);
    EXPECT_EQ(setup.tray, u"CD Tray"_s);
    EXPECT_EQ(saved, 1);
    fromPrint.DoNotShowBox()->setChecked(true);
    fromPrint.accept();
    EXPECT_TRUE(fromPrint.DoNotShowAgain());
}

// Each unexpected failure of the print dialogs is reported with its own number, and the dialog goes on.
TEST(PrintErrorReportTest, EachFailureIsReportedWithItsNumber)
{
    QStringList reports;
    const ErrorPresenter previous = SetErrorPresenter([&](const QString& text) { reports.append(text); });
    // What fails in a CD Printer Properties dialog once it is open.
    struct Faults
    {
        bool save = false;
        bool trays = false;
        bool properties = false;
    };
    const auto cdDialog = [](PrinterSetup& setup, Faults& faults) {
        return CdPrinterContext{{u"office"_s, u"disc-printer"_s},
                                setup,
                                [&faults](const QString&) {
                                    if (faults.trays)
                                        throw std::runtime_error("trays");
                                    return QStringList{u"tray-1"_s, u"disc"_s};
                                },
                                [&faults](PrinterSetup&) -> bool {
                                    if (faults.properties)
                                        throw std::runtime_error("properties");
                                    return true;
                                },
                                [&faults] {
                                    if (faults.save)
                                        throw std::runtime_error("save");
                                }};
    };
    struct Row
    {
        const char* expected;
        std::function<void(PrinterSetup&, Faults&)> act;
    };
    const Row rows[] = {
        {"Error 330",
         [](PrinterSetup&, Faults&) {
             DialogFixture f;
             f.copiesFail = true;
             f.settings.printDisc1 = true;
             PrintDialog dialog(f.Context(), false);
             dialog.Copies()->setValue(3);
             EXPECT_EQ(dialog.Total()->text(), u"Total pages to print: 3"_s) << "the total still follows";
         }},
        {"Error 712 - Step 2", [](PrinterSetup&, Faults&) { ReportErrorPlainStep(712, 2); }},
        {"Error 964",
         [&](PrinterSetup& setup, Faults& faults) {
             // A dialog without a disc printer yet writes the first one as it opens.
             setup.printerName.clear();
             faults.save = true;
             const CdPrinterAnswer answer = RunCdPrinterDialog(cdDialog(setup, faults), true, nullptr);
             EXPECT_FALSE(answer.accepted) << "no job without the dialog";
         }},
        {"Error 1062",
         [&](PrinterSetup& setup, Faults& faults) {
             faults.trays = true;
             CdPrinterDialog dialog(cdDialog(setup, faults), false);
             EXPECT_TRUE(dialog.TrayList()->isHidden());
         }},
        {"Error 1063",
         [&](PrinterSetup& setup, Faults& faults) {
             CdPrinterDialog dialog(cdDialog(setup, faults), false);
             faults.save = true;
             emit dialog.TrayList()->activated(1);
         }},
        {"Error 1064",
         [&](PrinterSetup& setup, Faults& faults) {
             CdPrinterDialog dialog(cdDialog(setup, faults), false);
             faults.save = true;
             dialog.PrinterList()->setCurrentIndex(0);
             emit dialog.PrinterList()->activated(0);
         }},
        {"Error 1065",
         [&](PrinterSetup& setup, Faults& faults) {
             CdPrinterDialog dialog(cdDialog(setup, faults), false);
             faults.trays = true;
             dialog.PrinterList()->setCurrentIndex(0);
             emit dialog.PrinterList()->activated(0);
             EXPECT_EQ(setup.printerName, u"office"_s) << "the printer change itself stands";
         }},
        {"Error 967",
         [&](PrinterSetup& setup, Faults& faults) {
             CdPrinterDialog dialog(cdDialog(setup, faults), false);
             faults.properties = true;
             dialog.findChild<QPushButton*>(u"cdPrinterProperties"_s)->click();
         }},
        {"Error 968",
         [&](PrinterSetup& setup, Faults& faults) {
             CdPrinterDialog dialog(cdDialog(setup, faults), true);
             faults.save = true;
             dialog.AcceptButton()->click();
             EXPECT_NE(dialog.result(), QDialog::Accepted);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        reports.clear();
        PrinterSetup setup;
        setup.printerName = u"disc-printer"_s;
        Faults faults;
        row.act(setup, faults);
        EXPECT_EQ(reports, QStringList{QString::fromLatin1(row.expected)});
    }
    SetErrorPresenter(previous);
}

} // namespace
} // namespace tvl
