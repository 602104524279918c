#include "app/paper/ChangeLabelPaperDialog.h"

#include "app/paper/LabelAlignmentWizardDialog.h"
#include "app/paper/PaperHost.h"
#include "app/paper/StockSheetImage.h"
#include "stock/StockCatalogue.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tvl {
namespace {

constexpr QSize kPreviewSize{150, 150};
constexpr int kDiscs = 0;
constexpr int kCases = 1;

const CLabelDim* StockOf(const QListWidgetItem* item)
{
    return item ? reinterpret_cast<const CLabelDim*>(item->data(Qt::UserRole).value<quintptr>()) : nullptr;
}

} // namespace

ChangeLabelPaperDialog::ChangeLabelPaperDialog(StockCatalogue& catalogue, PaperHost& host, QWidget* parent)
    : QDialog(parent)
    , m_catalogue(catalogue)
    , m_host(host)
{
    setWindowTitle(QStringLiteral(" Change Label Paper"));
    auto* grid = new QGridLayout;
    const char* listCaptions[] = {"Disc Labels - CD Printers", "Case Labels"};
    for (int list = 0; list < 2; ++list) {
        auto* caption = new QLabel(QString::fromLatin1(listCaptions[list]), this);
        m_lists[list] = new QListWidget(this);
        m_lists[list]->setAccessibleName(caption->text());
        caption->setBuddy(m_lists[list]);
        m_edit[list] = new QPushButton(QStringLiteral("Edit Dimensions"), this);
        m_create[list] = new QPushButton(QStringLiteral("Create New"), this);
        m_delete[list] = new QPushButton(QStringLiteral("Delete"), this);
        auto* buttons = new QHBoxLayout;
        for (QPushButton* button : {m_edit[list], m_create[list], m_delete[list]}) {
            button->setAutoDefault(false);
            buttons->addWidget(button);
        }
        grid->addWidget(caption, 0, list);
        grid->addWidget(m_lists[list], 1, list);
        grid->addLayout(buttons, 2, list);
        connect(m_edit[list], &QPushButton::clicked, this, [this, list] { EditStock(list, false); });
        connect(m_create[list], &QPushButton::clicked, this, [this, list] { EditStock(list, true); });
        connect(m_delete[list], &QPushButton::clicked, this, [this, list] { DeleteStock(list); });
        connect(m_lists[list], &QListWidget::currentRowChanged, this, [this] { RedrawPreviews(); });
    }

    for (int i = 0; i < 3; ++i) {
        m_captions[i] = new QLabel(this);
        m_captions[i]->setAlignment(Qt::AlignCenter);
        m_previews[i] = new QPushButton(this);
        m_previews[i]->setAutoDefault(false);
        m_previews[i]->setIconSize(kPreviewSize);
        m_previews[i]->setFixedSize(kPreviewSize + QSize(8, 8));
    }
    m_captions[0]->setText(QStringLiteral("Disc"));
    m_previews[0]->setAccessibleName(QStringLiteral("Disc"));
    m_previews[0]->setFocusPolicy(Qt::NoFocus);
    m_previews[1]->setFocusPolicy(Qt::NoFocus);
    connect(m_previews[2], &QPushButton::clicked, this, [this] { OpenSecondSheet(); });

    auto* discPreview = new QVBoxLayout;
    discPreview->addWidget(m_captions[0]);
    discPreview->addWidget(m_previews[0], 0, Qt::AlignHCenter);
    discPreview->addStretch();
    auto* casePreviews = new QHBoxLayout;
    for (int i = 1; i < 3; ++i) {
        auto* column = new QVBoxLayout;
        column->addWidget(m_captions[i]);
        column->addWidget(m_previews[i], 0, Qt::AlignHCenter);
        column->addStretch();
        casePreviews->addLayout(column);
    }
    grid->addLayout(discPreview, 3, kDiscs);
    grid->addLayout(casePreviews, 3, kCases);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    m_runWizard = [this](int index, bool newStock, bool firstSheet) {
        LabelAlignmentWizardDialog wizard(m_catalogue, m_host, index, newStock, firstSheet, this);
        wizard.exec();
        return wizard.savedIndex();
    };
    FillLists(&m_catalogue.DiscStock(), &m_catalogue.CaseStock());
}

void ChangeLabelPaperDialog::FillLists(const CLabelDim* disc, const CLabelDim* caseStock)
{
    for (int list = 0; list < 2; ++list) {
        std::vector<const CLabelDim*> stocks;
        for (const auto& stock : m_catalogue.stocks()) {
            if (list == kDiscs ? stock->IsDiscStock() : stock->IsCaseStock())
                stocks.push_back(stock.get());
        }
        std::stable_sort(stocks.begin(), stocks.end(), [](const CLabelDim* a, const CLabelDim* b) {
            return QString::compare(a->name, b->name, Qt::CaseInsensitive) < 0;
        });
        QListWidget* widget = m_lists[list];
        const QSignalBlocker blocker(widget);
        widget->clear();
        const CLabelDim* wanted = list == kDiscs ? disc : caseStock;
        for (const CLabelDim* stock : stocks) {
            auto* item = new QListWidgetItem(stock->name, widget);
            item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(stock)));
            if (stock == wanted)
                widget->setCurrentItem(item);
        }
        if (!widget->currentItem() && widget->count() > 0)
            widget->setCurrentRow(0);
        m_delete[list]->setEnabled(widget->count() > 1);
    }
    RedrawPreviews();
}

const CLabelDim* ChangeLabelPaperDialog::SelectedStock(int list) const
{
    return StockOf(m_lists[list]->currentItem());
}

int ChangeLabelPaperDialog::IndexOf(const CLabelDim* stock) const
{
    const auto& stocks = m_catalogue.stocks();
    for (size_t i = 0; i < stocks.size(); ++i) {
        if (stocks[i].get() == stock)
            return static_cast<int>(i);
    }
    return -1;
}

int ChangeLabelPaperDialog::SelectedIndex(int list) const
{
    return IndexOf(SelectedStock(list));
}

int ChangeLabelPaperDialog::RunWizard(int index, bool newStock, bool firstSheet)
{
    // The lists are refilled afterwards and keep their stocks selected by the stocks themselves, since
    // two stocks may share a name.
    const CLabelDim* disc = SelectedStock(kDiscs);
    const CLabelDim* caseStock = SelectedStock(kCases);
    const int saved = m_runWizard(index, newStock, firstSheet);
    if (newStock && saved >= 0) {
        const CLabelDim* created = &m_catalogue.stock(saved);
        (created->IsDiscStock() ? disc : caseStock) = created;
    }
    FillLists(disc, caseStock);
    return saved;
}

void ChangeLabelPaperDialog::EditStock(int list, bool newStock)
{
    const int index = SelectedIndex(list);
    if (index >= 0)
        RunWizard(index, newStock, true);
}

void ChangeLabelPaperDialog::OpenSecondSheet()
{
    const CLabelDim* stock = SelectedStock(kCases);
    if (!stock || stock->LabelTwoOnFirstSheet())
        return;
    // A jewel stock's second sheet carries its back; a DVD stock's wrap-around cover is on the first.
    RunWizard(IndexOf(stock), false, stock->stockType == CLabelDim::DvdStock);
}

void ChangeLabelPaperDialog::DeleteStock(int list)
{
    QListWidget* widget = m_lists[list];
    const CLabelDim* stock = SelectedStock(list);
    if (!stock || widget->count() <= 1)
        return;
    const QString question = QStringLiteral("Are you sure you want to delete the ''") + stock->name +
                             QStringLiteral("'' template?");
    if (m_host.Ask(question, QStringLiteral("Yes`No`")) != 1)
        return;
    const int row = widget->currentRow();
    const CLabelDim* other = SelectedStock(1 - list);
    if (!m_catalogue.DeleteStock(IndexOf(stock)))
        return;
    FillLists(list == kDiscs ? nullptr : other, list == kCases ? nullptr : other);
    widget->setCurrentRow(std::min(row, widget->count() - 1));
}

void ChangeLabelPaperDialog::RedrawPreviews()
{
    const CLabelDim* disc = SelectedStock(kDiscs);
    const CLabelDim* caseStock = SelectedStock(kCases);
    if (!disc || !caseStock)
        return;
    const auto show = [this, disc, caseStock](int preview, QStringView page, const QString& caption) {
        m_captions[preview]->setText(caption);
        m_previews[preview]->setAccessibleName(caption);
        m_previews[preview]->setIcon(
            page.isEmpty()
                ? QIcon()
                : QIcon(QPixmap::fromImage(StockSheetImage(*disc, *caseStock, page, kPreviewSize))));
    };
    show(0, u"1", QStringLiteral("Disc"));
    if (caseStock->stockType == CLabelDim::DvdStock) {
        show(1, u"3", QStringLiteral("Case"));
        show(2, u"2", QStringLiteral("Booklet"));
    } else if (caseStock->LabelTwoOnFirstSheet()) {
        show(1, u"2", QStringLiteral("Front && Back Cover"));
        show(2, {}, QString());
    } else {
        show(1, u"2", QStringLiteral("Front Cover"));
        show(2, u"3", QStringLiteral("Back Cover"));
    }
    m_previews[2]->setEnabled(!caseStock->LabelTwoOnFirstSheet());
}

void ChangeLabelPaperDialog::accept()
{
    const int disc = SelectedIndex(kDiscs);
    const int selectedCase = SelectedIndex(kCases);
    if (disc < 0 || selectedCase < 0)
        return;
    const int discBefore = m_catalogue.currentDisc();
    m_catalogue.SetCurrentDisc(disc);
    const int currentType = m_catalogue.CaseStock().stockType;
    const int selectedType = m_catalogue.stock(selectedCase).stockType;
    bool caseKept = false;
    if (currentType != selectedType) {
        const bool toDvd = selectedType == CLabelDim::DvdStock;
        const QString text =
            toDvd ? QStringLiteral("You have switched to a DVD case template.\r\nThe default DVD case label "
                                   "will now be loaded.")
                  : QStringLiteral("You have switched to a jewel case template.\r\nThe default jewel case "
                                   "label will now be loaded.");
        if (m_host.Ask(text, QStringLiteral("OK`Cancel`")) == 1 && m_host.QuerySaveChanges()) {
            m_catalogue.SetCurrentCase(selectedCase);
            m_catalogue.SaveCatalogue();
            m_host.OpenDefaultDesign(toDvd ? QStringLiteral("DVD") : QStringLiteral("Jewel"));
        } else {
            // The design keeps its case kind, so it keeps its case stock too.
            caseKept = true;
        }
    }
    if (!caseKept)
        m_catalogue.SetCurrentCase(selectedCase);
    if (const FileResult<> saved = m_catalogue.SaveCatalogue(); !saved)
        m_host.Ask(saved.error().message, QStringLiteral("OK`"));
    QDialog::accept();
    // A cancelled switch with the same disc stock changes nothing, and must not leave an undo step.
    if (!caseKept || disc != discBefore)
        m_host.ApplyStocks();
}

} // namespace tvl
