#include "app/paper/LabelAlignmentWizardDialog.h"

#include "app/paper/LengthSpinBox.h"
#include "app/paper/PaperHost.h"
#include "app/paper/StockSheetImage.h"
#include "stock/StockCatalogue.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace tvl {
namespace {

constexpr const char* kFieldKeys[] = {"left1", "top1", "left2", "top2", "width1", "height1"};

QString DiscCaption(const QString& key)
{
    if (key == u"left1")
        return QStringLiteral("Left - Disc 1");
    if (key == u"top1")
        return QStringLiteral("Top - Disc 1");
    if (key == u"left2")
        return QStringLiteral("Left - Disc 2");
    if (key == u"top2")
        return QStringLiteral("Top - Disc 2");
    return key == u"width1" ? QStringLiteral("Outer Diameter") : QStringLiteral("Inner Diameter");
}

bool IsLabelOneField(const QString& key)
{
    return key == u"left1" || key == u"top1";
}

bool IsDiameterField(const QString& key)
{
    return key == u"width1" || key == u"height1";
}

} // namespace

LabelAlignmentWizardDialog::LabelAlignmentWizardDialog(StockCatalogue& catalogue, PaperHost& host, int index,
                                                       bool newStock, bool firstSheet, QWidget* parent)
    : QDialog(parent)
    , m_catalogue(catalogue)
    , m_host(host)
    , m_index(index)
    , m_newStock(newStock)
    , m_editor(catalogue.stock(index), firstSheet, host.Units())
{
    setWindowTitle(QStringLiteral(" Label Alignment Wizard"));
    if (m_newStock)
        m_editor.SetName(m_catalogue.NewStockName(m_editor.stock().stockType));
    BuildControls();
    Refresh();
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(area.width() * 4 / 5, area.height() * 4 / 5);
    }
}

void LabelAlignmentWizardDialog::BuildControls()
{
    auto* form = new QFormLayout;
    const auto addChoice = [&](const QString& caption, QComboBox*& box, const QStringList& entries) {
        box = new QComboBox(this);
        box->addItems(entries);
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        form->addRow(label, box);
        m_choiceCaptions[box] = label;
    };

    m_name = new QLineEdit(this);
    auto* nameLabel = new QLabel(QStringLiteral("&Name"), this);
    nameLabel->setBuddy(m_name);
    form->addRow(nameLabel, m_name);
    connect(m_name, &QLineEdit::editingFinished, this, [this] { m_editor.SetName(m_name->text()); });

    addChoice(QStringLiteral("&Units"), m_units, {QStringLiteral("Inches"), QStringLiteral("Millimeters")});
    addChoice(QStringLiteral("&Paper Size"), m_paper, {});
    addChoice(QStringLiteral("Pa&ges"), m_pages, {QStringLiteral("1 Page"), QStringLiteral("2 Pages")});
    addChoice(QStringLiteral("&Orientation"), m_orientation,
              {QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    addChoice(QStringLiteral("&Folded Cover"), m_folded, {QStringLiteral("No"), QStringLiteral("Yes")});

    for (const char* rawKey : kFieldKeys) {
        const QString key = QString::fromLatin1(rawKey);
        auto* field = new LengthSpinBox(this);
        field->setObjectName(key);
        auto* caption = new QLabel(this);
        caption->setBuddy(field);
        form->addRow(caption, field);
        m_fields[key] = field;
        m_captions[key] = caption;
        field->SetHandlers(
            [this, key](const QString& text) {
                const bool corrected = m_editor.SetFieldText(key, text);
                ShowField(key);
                // A millimetre value the rules left alone is shown as it was typed.
                if (!corrected && m_editor.units() == LengthUnits::Millimeters) {
                    const float typed = QStringView(text).trimmed().split(u' ').value(0).toFloat();
                    m_fields.at(key)->Editor()->setText(QString::asprintf("%.1f mm", typed));
                }
                if (IsDiameterField(key) || m_editor.stock().IsDirectToDisc())
                    Refresh();
                else
                    RedrawPreview();
            },
            [this, key](int step) {
                m_editor.StepField(key, step);
                Refresh();
            });
    }

    connect(m_units, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_refreshing)
            return;
        const LengthUnits units = index == 1 ? LengthUnits::Millimeters : LengthUnits::Inches;
        m_editor.SetUnits(units);
        m_host.SetUnits(units);
        Refresh();
    });
    connect(m_paper, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_refreshing || index < 0)
            return;
        m_editor.SetPaper(static_cast<PaperChoice>(index));
        Refresh();
    });
    connect(m_pages, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_refreshing)
            return;
        m_editor.SetTwoPages(index == 1);
        Refresh();
    });
    connect(m_orientation, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_refreshing)
            return;
        m_editor.SetLandscape(index == 1);
        Refresh();
    });
    connect(m_folded, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_refreshing)
            return;
        m_editor.SetFolded(index == 1);
        Refresh();
    });

    m_preview = new QLabel(this);
    m_preview->setMinimumSize(240, 240);
    m_preview->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setAccessibleName(QStringLiteral("Preview"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(QStringLiteral("&Save"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    save->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { Save(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addStretch();
    columns->addLayout(left);
    columns->addWidget(m_preview, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);
}

void LabelAlignmentWizardDialog::FillPaperBox()
{
    const bool millimetres = m_editor.units() == LengthUnits::Millimeters;
    QStringList entries{millimetres ? QStringLiteral("Letter - (216mm x 279mm)")
                                    : QStringLiteral("Letter - (8.5 '' x 11 '')"),
                        millimetres ? QStringLiteral("A4 - (210mm x 297mm)")
                                    : QStringLiteral("A4 - (8.27 '' x 11.69 '')")};
    if (!m_editor.IsCase())
        entries.append(QStringLiteral("CD/DVD Printer"));
    m_paper->clear();
    m_paper->addItems(entries);
    m_paper->setCurrentIndex(static_cast<int>(m_editor.Paper()));
}

void LabelAlignmentWizardDialog::ShowField(const QString& key)
{
    LengthSpinBox* field = m_fields.at(key);
    field->Editor()->setText(m_editor.FieldText(key));
}

void LabelAlignmentWizardDialog::Refresh()
{
    m_refreshing = true;
    const CLabelDim& stock = m_editor.stock();
    const bool isCase = m_editor.IsCase();
    m_name->setText(stock.name);
    m_units->setCurrentIndex(m_editor.units() == LengthUnits::Millimeters ? 1 : 0);
    FillPaperBox();
    m_pages->setCurrentIndex(m_editor.TwoSheets() ? 1 : 0);
    m_orientation->setCurrentIndex(m_editor.Landscape() ? 1 : 0);
    m_folded->setCurrentIndex(stock.folded != 0 ? 1 : 0);

    const auto setShown = [this](QWidget* control, bool shown) {
        control->setVisible(shown);
        if (const auto caption = m_choiceCaptions.find(control); caption != m_choiceCaptions.end())
            caption->second->setVisible(shown);
    };
    setShown(m_pages, isCase);
    setShown(m_orientation, m_editor.ShowsOrientation());
    setShown(m_folded, m_editor.ShowsFolded());
    for (const auto& [key, field] : m_fields) {
        const bool shown = isCase ? !IsDiameterField(key) && (IsLabelOneField(key) ? m_editor.ShowsLabelOne()
                                                                                   : m_editor.ShowsLabelTwo())
                                  : true;
        field->setVisible(shown);
        m_captions.at(key)->setVisible(shown);
        m_captions.at(key)->setText(
            isCase ? (key.startsWith(u"left") ? QStringLiteral("Left") : QStringLiteral("Top"))
                   : DiscCaption(key));
        ShowField(key);
    }
    m_refreshing = false;
    RedrawPreview();
}

QImage LabelAlignmentWizardDialog::PreviewImage() const
{
    return m_preview->pixmap().toImage();
}

void LabelAlignmentWizardDialog::RedrawPreview()
{
    const CLabelDim& stock = m_editor.stock();
    CLabelDim other;
    MakeBuiltInStock(other, stock.IsCaseStock() ? u"Disc" : u"Jewel");
    const QSize size = m_preview->size().expandedTo(QSize(240, 240));
    const QImage image = stock.IsCaseStock()
                             ? StockSheetImage(other, stock, m_editor.firstSheet() ? u"2" : u"3", size)
                             : StockSheetImage(stock, other, u"1", size);
    m_preview->setPixmap(QPixmap::fromImage(image));
}

void LabelAlignmentWizardDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    RedrawPreview();
}

void LabelAlignmentWizardDialog::Save()
{
    m_editor.SetName(m_name->text());
    const CLabelDim& working = m_editor.stock();
    if (m_newStock) {
        m_savedIndex = m_catalogue.AddStock(std::make_unique<CLabelDim>(working));
    } else {
        m_catalogue.stock(m_index) = working;
        m_savedIndex = m_index;
    }
    if (const FileResult<> saved = m_catalogue.SaveCatalogue(); !saved)
        m_host.Ask(saved.error().message, QStringLiteral("OK`"));
    const bool inUse = m_savedIndex == m_catalogue.currentCase() ||
                       (!m_newStock && m_savedIndex == m_catalogue.currentDisc());
    if (inUse)
        m_host.ApplyStocks();
    accept();
}

} // namespace tvl
