#include "app/print/PrintDialog.h"

#include "app/cli/StoredPrintJob.h"
#include "app/messages/ErrorReport.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "print/job/PaintJob.h"
#include "stock/StockCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tvl {
namespace {

constexpr int kPreviewWidth = 240; // pixels

// A calibration offset field: -40..40, and while typing every character but a digit or "-" is dropped.
class OffsetSpinBox final : public QSpinBox
{
public:
    explicit OffsetSpinBox(QWidget* parent)
        : QSpinBox(parent)
    {
        setRange(-40, 40);
        setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        lineEdit()->setMaxLength(3);
    }

protected:
    QValidator::State validate(QString& input, int& pos) const override
    {
        QString kept;
        for (const QChar c : input) {
            if ((c >= u'0' && c <= u'9') || c == u'-')
                kept += c;
        }
        if (kept != input) {
            input = kept.left(3);
            pos = static_cast<int>(input.size());
        }
        bool ok = false;
        const int value = input.toInt(&ok);
        return ok && value >= -40 && value <= 40 ? QValidator::Acceptable : QValidator::Intermediate;
    }

    void fixup(QString& input) const override { input = QString::number(ReadCalibrationOffset(input)); }
};

// A sheet preview that reports where it is clicked.
class SheetPreview final : public QLabel
{
public:
    SheetPreview(QWidget* parent, std::function<void(QPoint)> clicked)
        : QLabel(parent)
        , m_clicked(std::move(clicked))
    {
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QLabel::mousePressEvent(event);
        if (event->button() != Qt::LeftButton)
            return;
        const QSize picture = pixmap().size();
        // The picture is centred in the label.
        const QPoint corner((width() - picture.width()) / 2, (height() - picture.height()) / 2);
        m_clicked(event->position().toPoint() - corner);
    }

private:
    std::function<void(QPoint)> m_clicked;
};

QString OverlapText(int index, bool millimetres)
{
    static const char* const inches[] = {"0.00 ''", "0.05 ''", "0.10 ''", "0.15 ''"};
    static const char* const mm[] = {"0.0 mm", "1.3 mm", "2.5 mm", "3.8 mm"};
    return QString::fromLatin1(millimetres ? mm[index] : inches[index]);
}

QComboBox* OverlapList(int overlap, bool millimetres, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    for (int i = 0; i < 4; ++i)
        list->addItem(OverlapText(i, millimetres));
    list->setCurrentIndex(qBound(0, overlap / 50, 3));
    return list;
}

const char* SettingOfLabel(int index)
{
    static const char* const names[] = {"PrintFront", "PrintBack", "PrintDisc1", "PrintDisc2"};
    return names[index];
}

} // namespace

int ReadCalibrationOffset(const QString& text)
{
    qsizetype at = 0;
    const bool negative = text.startsWith(u'-');
    if (negative)
        ++at;
    int value = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at)
        value = std::min(value * 10 + (text[at].unicode() - u'0'), 1000);
    return qBound(-40, negative ? -value : value, 40);
}

PrintDialog::PrintDialog(PrintDialogContext context, bool calibration, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
    , m_calibration(calibration)
    , m_options(PrintOptionsFromSettings(m_context.settings.printOptions))
{
    setWindowTitle(calibration ? QStringLiteral(" Printer Calibration") : QStringLiteral(" Print"));
    auto* layout = new QVBoxLayout(this);
    BuildPrinterGroup();
    layout->addWidget(m_printers->parentWidget());
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);
    BuildTabs();
    BuildLabelButtons();
    layout->addWidget(m_labelsGroup);

    auto* copiesRow = new QHBoxLayout;
    m_copies = new QSpinBox(this);
    m_copies->setRange(1, 999);
    m_copies->setValue(1);
    auto* copiesLabel = new QLabel(QStringLiteral("&Copies:"), this);
    copiesLabel->setBuddy(m_copies);
    m_total = new QLabel(this);
    copiesRow->addWidget(copiesLabel);
    copiesRow->addWidget(m_copies);
    copiesRow->addStretch();
    copiesRow->addWidget(m_total);
    layout->addLayout(copiesRow);
    connect(m_copies, &QSpinBox::valueChanged, this, [this](int copies) {
        Guarded(330, [&] {
            if (m_context.copiesChanged)
                m_context.copiesChanged(copies);
        });
        UpdateTotal();
    });

    BuildCalibrationGroup();
    layout->addWidget(m_offsetGroup);

    auto* buttons = new QDialogButtonBox(this);
    m_print =
        buttons->addButton(calibration ? QStringLiteral("Print Calibration Sheet") : QStringLiteral("Print"),
                           QDialogButtonBox::AcceptRole);
    m_print->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    buttons->addButton(QDialogButtonBox::Help)->setEnabled(false);
    layout->addWidget(buttons);
    connect(m_print, &QPushButton::clicked, this, [this] { PrintClicked(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_tabs->setVisible(!calibration);
    m_labelsGroup->setVisible(!calibration);
    m_copies->setVisible(!calibration);
    copiesLabel->setVisible(!calibration);
    m_total->setVisible(!calibration);
    m_offsetGroup->setVisible(calibration);

    if (!calibration)
        KeepOneDiscJob();
    UpdateTotal();
    UpdateDiscPrinterState();
    PlaceDialog();
}

void PrintDialog::BuildPrinterGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Printer"), this);
    auto* row = new QHBoxLayout(group);
    m_printers = new QComboBox(group);
    m_printers->setAccessibleName(QStringLiteral("Printer"));
    m_printers->addItems(m_context.printers);
    m_printers->addItem(kPrintToPdfEntry.toString());
    int current = static_cast<int>(m_context.printers.indexOf(m_context.currentPrinter));
    for (int i = 0; current < 0 && i < m_context.printers.size() && !m_context.currentPrinter.isEmpty();
         ++i) {
        if (m_context.printers[i].startsWith(m_context.currentPrinter))
            current = i;
    }
    m_printers->setCurrentIndex(std::max(current, 0));
    m_properties = new QPushButton(QStringLiteral("&Properties"), group);
    row->addWidget(m_printers, 1);
    row->addWidget(m_properties);
    const auto pdfChosen = [this] {
        m_properties->setEnabled(Printer() != kPrintToPdfEntry && m_printers->isEnabled());
    };
    connect(m_printers, &QComboBox::currentIndexChanged, this, pdfChosen);
    pdfChosen();
    connect(m_properties, &QPushButton::clicked, this, [this] {
        if (m_context.printerProperties)
            m_context.printerProperties(Printer());
    });
}

void PrintDialog::BuildTabs()
{
    while (m_tabs->count() > 0) {
        QWidget* page = m_tabs->widget(0);
        m_tabs->removeTab(0);
        delete page;
    }
    m_caseStockLists.clear();
    m_previews.clear();
    m_previewDpi.clear();
    m_position = nullptr;
    const bool dvd = m_context.caseKind == u"DVD";
    if (dvd) {
        m_tabs->addTab(BuildCoverTab(BackSurface), QStringLiteral("Case"));
        m_tabs->addTab(BuildCoverTab(FrontSurface), QStringLiteral("Booklet"));
    } else {
        m_tabs->addTab(BuildCoverTab(FrontSurface), QStringLiteral("Front"));
        m_tabs->addTab(BuildCoverTab(BackSurface), QStringLiteral("Back"));
    }
    if (DirectToDisc() && m_context.doubleDisc) {
        m_tabs->addTab(BuildDiscTab(Disc1Surface), QStringLiteral("Disc 1"));
        m_tabs->addTab(BuildDiscTab(Disc2Surface), QStringLiteral("Disc 2"));
    } else {
        m_tabs->addTab(BuildDiscTab(Disc1Surface), QStringLiteral("Disc"));
    }
    SelectTabOf(SurfaceIndexOf(m_context.currentSurface));
    RedrawPreviews();
}

void PrintDialog::SelectTabOf(int surface)
{
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->widget(i)->property("surface").toInt() == surface)
            m_tabs->setCurrentIndex(i);
    }
}

void PrintDialog::RebuildTabsLater()
{
    QTimer::singleShot(0, this, [this] {
        const int surface =
            m_tabs->currentWidget() ? m_tabs->currentWidget()->property("surface").toInt() : -1;
        BuildTabs();
        SelectTabOf(surface);
        KeepOneDiscJob();
        UpdateTotal();
        UpdateDiscPrinterState();
    });
}

void PrintDialog::PreviewClicked(int sheet, QPoint mils)
{
    const CRichChild* front = m_context.design.FindCover(kFrontCover);
    const CRichChild* back = m_context.design.FindCover(kBackCover);
    const QString page = QString::number(sheet);
    if (!front || !back || front->pageCode != page || back->pageCode != page)
        return;
    if (front->Rect().contains(mils))
        SelectTabOf(FrontSurface);
    else if (back->Rect().contains(mils))
        SelectTabOf(BackSurface);
}

QPushButton* PrintDialog::EditButton(int tab) const
{
    QWidget* page = m_tabs->widget(tab);
    return page ? page->findChild<QPushButton*>(QStringLiteral("editStock")) : nullptr;
}

QLabel* PrintDialog::Preview(int tab) const
{
    QWidget* page = m_tabs->widget(tab);
    for (const auto& [label, sheet] : m_previews) {
        if (page && label->parentWidget() == page)
            return label;
    }
    return nullptr;
}

QFormLayout* PrintDialog::AddPreviewPage(QWidget* page, int surface, int sheet)
{
    page->setProperty("surface", surface);
    auto* row = new QHBoxLayout(page);
    const size_t index = m_previews.size();
    auto* preview = new SheetPreview(page, [this, index, sheet](QPoint pixel) {
        const double dpi = index < m_previewDpi.size() ? m_previewDpi[index] : 0;
        if (dpi > 0)
            PreviewClicked(sheet, QPoint(static_cast<int>(pixel.x() * 1000 / dpi),
                                         static_cast<int>(pixel.y() * 1000 / dpi)));
    });
    preview->setMinimumSize(kPreviewWidth, kPreviewWidth * 11 / 10);
    preview->setAlignment(Qt::AlignCenter);
    preview->setAccessibleName(QStringLiteral("Preview"));
    m_previews.emplace_back(preview, sheet);
    row->addWidget(preview);
    auto* form = new QFormLayout;
    row->addLayout(form);
    return form;
}

void PrintDialog::AddStockRow(QFormLayout* form, const QString& caption, QComboBox* stocks, int surface)
{
    auto* edit = new QPushButton(QStringLiteral("Edit"), stocks->parentWidget());
    edit->setObjectName(QStringLiteral("editStock"));
    edit->setAccessibleName(QStringLiteral("Edit ") + caption);
    edit->setVisible(static_cast<bool>(m_context.editStock));
    connect(edit, &QPushButton::clicked, this, [this, stocks, surface] {
        if (!m_context.editStock || stocks->currentIndex() < 0)
            return;
        // The wizard's second sheet is the back cover's own, when it has one.
        const int index = stocks->currentData().toInt();
        const bool firstSheet =
            surface != BackSurface || m_context.catalogue.stock(index).LabelTwoOnFirstSheet();
        m_context.editStock(index, firstSheet, this);
        // The wizard may have renamed or reshaped the stock, or applied it to the design.
        RebuildTabsLater();
    });
    auto* stockRow = new QHBoxLayout;
    stockRow->addWidget(stocks, 1);
    stockRow->addWidget(edit);
    form->addRow(caption, stockRow);
}

QWidget* PrintDialog::BuildCoverTab(int surface)
{
    auto* page = new QWidget;
    const CRichChild* cover = m_context.design.FindCover(SurfaceName(surface));
    QFormLayout* form =
        AddPreviewPage(page, surface, cover ? cover->pageCode.toInt() : (surface == FrontSurface ? 2 : 3));

    auto* stocks = new QComboBox(page);
    const int type = m_context.caseKind == u"DVD" ? CLabelDim::DvdStock : CLabelDim::JewelStock;
    const auto& all = m_context.catalogue.stocks();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i]->stockType == type) {
            stocks->addItem(all[i]->name, static_cast<int>(i));
            if (static_cast<int>(i) == m_context.catalogue.currentCase())
                stocks->setCurrentIndex(stocks->count() - 1);
        }
    }
    m_caseStockLists.push_back(stocks);
    AddStockRow(form, QStringLiteral("Label Paper"), stocks, surface);
    connect(stocks, &QComboBox::activated, this,
            [this, stocks] { CaseStockChosen(stocks->currentData().toInt()); });

    const bool front = surface == FrontSurface;
    const bool folded = front && cover && cover->coverFolded != 0;
    auto* border = new QComboBox(page);
    border->addItems({QStringLiteral("No Border"), QStringLiteral("Print Border")});
    if (!front)
        border->addItems({QStringLiteral("Print Fold Lines"), QStringLiteral("Print Border + Fold Lines")});
    else if (folded)
        border->addItems({QStringLiteral("Print Fold Line"), QStringLiteral("Print Border + Fold Line")});
    const bool outline = front ? m_options.borderFront : m_options.borderBack;
    const bool fold = front ? m_options.foldFront : m_options.foldBack;
    const int selected = int(outline) + 2 * int(fold);
    border->setCurrentIndex(selected < border->count() ? selected : int(outline));
    form->addRow(QStringLiteral("Border"), border);
    connect(border, &QComboBox::activated, this, [this, front, folded](int index) {
        (front ? m_options.borderFront : m_options.borderBack) = (index & 1) != 0;
        if (!front || folded)
            (front ? m_options.foldFront : m_options.foldBack) = (index & 2) != 0;
        WriteOptions();
        RedrawPreviews();
    });

    auto* overlap =
        OverlapList(front ? m_options.overlapFront : m_options.overlapBack, m_context.millimetres, page);
    form->addRow(QStringLiteral("Background Overlap"), overlap);
    connect(overlap, &QComboBox::activated, this, [this, front](int index) {
        (front ? m_options.overlapFront : m_options.overlapBack) = index * 50;
        WriteOptions();
        RedrawPreviews();
    });
    return page;
}

QWidget* PrintDialog::BuildDiscTab(int surface)
{
    auto* page = new QWidget;
    QFormLayout* form = AddPreviewPage(page, surface, 1);

    auto* stocks = new QComboBox(page);
    const auto& all = m_context.catalogue.stocks();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i]->IsDiscStock()) {
            stocks->addItem(all[i]->name, static_cast<int>(i));
            if (static_cast<int>(i) == m_context.catalogue.currentDisc())
                stocks->setCurrentIndex(stocks->count() - 1);
        }
    }
    AddStockRow(form, QStringLiteral("Label Type"), stocks, surface);
    connect(stocks, &QComboBox::activated, this,
            [this, stocks] { DiscStockChosen(stocks->currentData().toInt()); });

    auto* border = new QComboBox(page);
    border->addItems({QStringLiteral("No Border"), QStringLiteral("Print Border")});
    border->setCurrentIndex(m_options.borderDiscs ? 1 : 0);
    form->addRow(QStringLiteral("Border"), border);
    connect(border, &QComboBox::activated, this, [this](int index) {
        m_options.borderDiscs = index == 1;
        WriteOptions();
        RedrawPreviews();
    });
    auto* overlap = OverlapList(m_options.overlapDiscs, m_context.millimetres, page);
    form->addRow(QStringLiteral("Background Overlap"), overlap);
    connect(overlap, &QComboBox::activated, this, [this](int index) {
        m_options.overlapDiscs = index * 50;
        WriteOptions();
        RedrawPreviews();
    });

    if (DirectToDisc()) {
        auto* cdPrinter = new QPushButton(QStringLiteral("CD Printer Properties"), page);
        form->addRow(cdPrinter);
        connect(cdPrinter, &QPushButton::clicked, this, [this] {
            if (m_context.cdPrinterProperties)
                m_context.cdPrinterProperties(false);
        });
        return page;
    }
    auto* position = new QComboBox(page);
    if (m_context.doubleDisc) {
        position->addItems({QStringLiteral("Disc 1 on Top"), QStringLiteral("Disc 1 on Bottom")});
        const CRichChild* first = m_context.design.FindCover(kDisc1);
        const CRichChild* second = m_context.design.FindCover(kDisc2);
        position->setCurrentIndex(first && second && first->top() > second->top() ? 1 : 0);
        form->addRow(QStringLiteral("Disc Position"), position);
    } else {
        position->addItems(
            {QStringLiteral("Top"), QStringLiteral("Bottom"), QStringLiteral("Duplicate Disc")});
        position->setCurrentIndex(static_cast<int>(m_options.discPositionMode) - 1);
        form->addRow(QStringLiteral("Duplicate - Disc Position"), position);
    }
    m_position = position;
    connect(position, &QComboBox::activated, this, [this](int index) {
        m_options.discPositionMode = static_cast<DiscPositionMode>(index + 1);
        WriteOptions();
        if (m_context.positionChanged)
            m_context.positionChanged(m_options.discPositionMode);
        RedrawPreviews();
    });
    return page;
}

void PrintDialog::BuildLabelButtons()
{
    m_labelsGroup = new QGroupBox(QStringLiteral("Select the labels to print"), this);
    auto* grid = new QGridLayout(m_labelsGroup);
    static const char* const icons[] = {":/icons/front-cover.svg", ":/icons/back-cover.svg",
                                        ":/icons/disc.svg", ":/icons/disc2.svg"};
    static const char* const names[] = {"Front Cover", "Back Cover", "Disc 1", "Disc 2"};
    const bool dvd = m_context.caseKind == u"DVD";
    const bool ticked[] = {m_context.settings.printFront, m_context.settings.printBack,
                           m_context.settings.printDisc1,
                           m_context.settings.printDisc2 && m_context.doubleDisc};
    for (int index = 0; index < 4; ++index) {
        // On a DVD case the case (the back cover) comes first.
        const int column = dvd && index < 2 ? 1 - index : index;
        auto* button = new QToolButton(m_labelsGroup);
        button->setIcon(QIcon(QString::fromLatin1(icons[index])));
        button->setIconSize(QSize(48, 48));
        button->setCheckable(true);
        button->setChecked(ticked[index]);
        button->setAccessibleName(QString::fromLatin1(names[index]));
        auto* box = new QCheckBox(QString::fromLatin1(names[index]), m_labelsGroup);
        box->setChecked(ticked[index]);
        grid->addWidget(button, 0, column, Qt::AlignHCenter);
        grid->addWidget(box, 1, column, Qt::AlignHCenter);
        m_labelButtons[static_cast<size_t>(index)] = button;
        m_labelBoxes[static_cast<size_t>(index)] = box;
        connect(button, &QToolButton::toggled, this, [this, index](bool on) { LabelToggled(index, on); });
        connect(box, &QCheckBox::toggled, this, [this, index](bool on) { LabelToggled(index, on); });
    }
    if (!m_context.doubleDisc) {
        m_labelButtons[Disc2Surface]->hide();
        m_labelBoxes[Disc2Surface]->hide();
        if (m_context.settings.printDisc2)
            WriteLabel(Disc2Surface);
    }
}

void PrintDialog::KeepOneDiscJob()
{
    if (!DirectToDisc())
        return;
    // One disc per job, and never a disc with covers: the disc wins as the dialog opens.
    const LabelsToPrint labels = DirectToDiscLabels(Labels(), m_context.doubleDisc);
    const bool kept[] = {labels.front, labels.back, labels.disc1, labels.disc2};
    for (int index = 0; index < 4; ++index) {
        if (m_labelBoxes[static_cast<size_t>(index)]->isChecked() != kept[index])
            LabelToggled(index, kept[index]);
    }
}

void PrintDialog::BuildCalibrationGroup()
{
    m_offsetGroup = new QGroupBox(QStringLiteral("Printer Calibration Offset"), this);
    auto* layout = new QVBoxLayout(m_offsetGroup);
    auto* form = new QFormLayout;
    m_horizontal = new OffsetSpinBox(m_offsetGroup);
    m_vertical = new OffsetSpinBox(m_offsetGroup);
    const QPoint offset = m_context.settings.printOffset;
    m_horizontal->setValue(qBound(-40, offset.x(), 40));
    m_vertical->setValue(qBound(-40, offset.y(), 40));
    form->addRow(QStringLiteral("&Horizontal:"), m_horizontal);
    form->addRow(QStringLiteral("&Vertical:"), m_vertical);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("To set these values correctly, please print a\n"
                                                "calibration sheet and follow the directions on\n"
                                                "the printed page."),
                                 m_offsetGroup));
}

QLineEdit* PrintDialog::HorizontalOffset() const
{
    return m_horizontal->findChild<QLineEdit*>();
}

QLineEdit* PrintDialog::VerticalOffset() const
{
    return m_vertical->findChild<QLineEdit*>();
}

LabelsToPrint PrintDialog::Labels() const
{
    if (m_calibration)
        return {false, false, true, false};
    return {m_labelBoxes[0]->isChecked(), m_labelBoxes[1]->isChecked(), m_labelBoxes[2]->isChecked(),
            m_context.doubleDisc && m_labelBoxes[3]->isChecked()};
}

bool PrintDialog::DirectToDisc() const
{
    return m_context.catalogue.DiscStock().IsDirectToDisc();
}

void PrintDialog::LabelToggled(int index, bool on)
{
    const auto set = [this](int i, bool value) {
        const QSignalBlocker blockButton(m_labelButtons[static_cast<size_t>(i)]);
        const QSignalBlocker blockBox(m_labelBoxes[static_cast<size_t>(i)]);
        m_labelButtons[static_cast<size_t>(i)]->setChecked(value);
        m_labelBoxes[static_cast<size_t>(i)]->setChecked(value);
        WriteLabel(i);
    };
    set(index, on);
    if (on && DirectToDisc()) {
        const bool disc = index >= Disc1Surface;
        if (disc) {
            set(FrontSurface, false);
            set(BackSurface, false);
            if (m_context.doubleDisc)
                set(index == Disc1Surface ? Disc2Surface : Disc1Surface, false);
        } else {
            set(Disc1Surface, false);
            set(Disc2Surface, false);
        }
    }
    UpdateTotal();
    UpdateDiscPrinterState();
}

void PrintDialog::WriteLabel(int index)
{
    const bool on = index != Disc2Surface || m_context.doubleDisc
                        ? m_labelBoxes[static_cast<size_t>(index)]->isChecked()
                        : false;
    bool* fields[] = {&m_context.settings.printFront, &m_context.settings.printBack,
                      &m_context.settings.printDisc1, &m_context.settings.printDisc2};
    *fields[index] = on;
    m_context.store.WriteNumber(QString::fromLatin1(SettingOfLabel(index)), on ? 1 : 0);
}

void PrintDialog::UpdateTotal()
{
    Guarded(330, [&] {
        const PageRange range =
            ComputePageRange(Labels(), m_context.doubleDisc, m_context.catalogue.CaseStock().page2);
        m_total->setText(QStringLiteral("Total pages to print: %1").arg(range.Total(m_copies->value())));
    });
}

void PrintDialog::UpdateDiscPrinterState()
{
    const LabelsToPrint labels = Labels();
    const bool discJob = !m_calibration && DirectToDisc() && (labels.disc1 || labels.disc2);
    m_printers->setEnabled(!discJob);
    m_properties->setEnabled(!discJob && Printer() != kPrintToPdfEntry);
    if (!discJob)
        return;
    SelectTabOf(labels.disc2 && m_context.doubleDisc ? Disc2Surface : Disc1Surface);
}

void PrintDialog::RedrawPreviews()
{
    PrintJob job;
    job.options = m_options;
    job.doubleDisc = m_context.doubleDisc;
    const std::vector<JobPage> pages =
        PreviewPages(job, m_context.catalogue.DiscStock(), m_context.catalogue.CaseStock(), PrintableAreas{});
    m_previewDpi.assign(m_previews.size(), 0.0);
    for (size_t i = 0; i < m_previews.size(); ++i) {
        const auto& [label, sheet] = m_previews[i];
        if (sheet < 1 || sheet > 3)
            continue;
        const JobPage& page = pages[static_cast<size_t>(sheet - 1)];
        const double dpi = kPreviewWidth * 1000.0 / std::max(page.paper.width(), page.paper.height());
        m_previewDpi[i] = dpi;
        QImage image(std::max(1, static_cast<int>(page.paper.width() * dpi / 1000)),
                     std::max(1, static_cast<int>(page.paper.height() * dpi / 1000)), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PaintJobPage(painter, m_context.design, page, dpi, dpi, QPoint(), font());
            painter.setPen(Qt::gray);
            painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
        }
        label->setPixmap(QPixmap::fromImage(image));
    }
}

void PrintDialog::CaseStockChosen(int catalogueIndex)
{
    if (!m_context.catalogue.SetCurrentCase(catalogueIndex))
        return;
    for (QComboBox* list : m_caseStockLists)
        list->setCurrentIndex(list->findData(catalogueIndex));
    m_context.catalogue.SaveCatalogue();
    if (m_context.stocksChanged)
        m_context.stocksChanged();
    RedrawPreviews();
    UpdateTotal();
}

void PrintDialog::DiscStockChosen(int catalogueIndex)
{
    if (!m_context.catalogue.SetCurrentDisc(catalogueIndex))
        return;
    m_context.catalogue.SaveCatalogue();
    if (m_context.stocksChanged)
        m_context.stocksChanged();
    // A direct-to-disc stock changes the disc tabs.
    RebuildTabsLater();
}

void PrintDialog::WriteOptions()
{
    m_context.settings.printOptions = PrintOptionsToSettings(m_options);
    m_context.store.WriteString(QStringLiteral("PrintOptions"),
                                FormatPrintOptions(m_context.settings.printOptions));
}

void PrintDialog::PrintClicked()
{
    m_context.settings.printDialogPosition = pos();
    m_context.store.WriteString(QStringLiteral("PrintDialog"), FormatPosition(pos()));
    const LabelsToPrint labels = Labels();
    const PageRange range =
        ComputePageRange(labels, m_context.doubleDisc, m_context.catalogue.CaseStock().page2);
    if (range.firstPage == 0) {
        if (m_context.message)
            m_context.message(m_calibration ? QStringLiteral("Please select a calibration sheet to print.")
                                            : QStringLiteral("Please select the labels to print."));
        return;
    }
    m_printOnCdPrinter = false;
    if (!m_calibration && DirectToDisc() && (labels.disc1 || labels.disc2)) {
        if (m_context.cdPrinterProperties && !m_context.cdPrinterProperties(true)) {
            UpdateDiscPrinterState();
            return;
        }
        m_printOnCdPrinter = true;
    }
    if (m_calibration) {
        // The fields are read as typed: a value not yet clamped by leaving its field is clamped here.
        const QPoint offset(ReadCalibrationOffset(m_horizontal->text()),
                            ReadCalibrationOffset(m_vertical->text()));
        m_context.settings.printOffset = offset;
        m_context.store.WriteString(QStringLiteral("PrintOffset"),
                                    QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y()));
    }
    accept();
}

void PrintDialog::PlaceDialog()
{
    const QPoint stored = m_context.settings.printDialogPosition;
    if (stored.x() < 0 || stored.y() < 0)
        return; // centred over the main window, as a dialog with a parent opens
    // A position from another screen layout must not put the dialog where nobody sees it.
    const QRect wanted(stored, sizeHint());
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(wanted.topLeft()) &&
            screen->availableGeometry().intersected(wanted).height() >= 40) {
            move(stored);
            return;
        }
    }
}

PrintJob PrintDialog::Job() const
{
    PrintJob job;
    job.options = m_options;
    job.labels = Labels();
    job.doubleDisc = m_context.doubleDisc;
    job.copies = m_calibration ? 1 : m_copies->value();
    const QPoint offset = m_context.settings.printOffset;
    job.calibration = QPoint(qBound(-40, offset.x(), 40), qBound(-40, offset.y(), 40));
    job.calibrationMode = m_calibration;
    return job;
}

QString PrintDialog::Printer() const
{
    return m_printers->currentText();
}

} // namespace tvl
