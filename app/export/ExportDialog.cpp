#include "app/export/ExportDialog.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "print/export/ExportJob.h"
#include "print/export/LabelExport.h"
#include "render/surface/RenderSurfaceImage.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace tvl {
namespace {

const QString kTitle = QStringLiteral(" Export Label To Image File");
constexpr int kPreviewDelayMs = 10;
constexpr int kProgressMs = 100;
constexpr int kTitleWidthLimit = 530;
constexpr int kPreviewMargin = 20;

QString PicturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString folder = pictures.isEmpty() ? QDir::homePath() + QStringLiteral("/My Pictures") : pictures;
    return folder + u'/';
}

QString FolderOf(const QString& path)
{
    if (path.endsWith(u'/'))
        return path;
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? PicturesFolder() : path.left(slash + 1);
}

} // namespace

ExportDialog::ExportDialog(const LabelDesign& design, ExportDialogSetup setup, QWidget* parent)
    : QDialog(parent)
    , m_design(design)
    , m_setup(std::move(setup))
{
    setWindowTitle(kTitle);
    BuildControls();
    Restore(LoadExportSettings(m_setup.settingsPath));
    UpdateSizes();
    RedrawPreview();
}

ExportDialog::~ExportDialog()
{
    if (m_job)
        m_job->Cancel();
}

void ExportDialog::BuildControls()
{
    auto* form = new QFormLayout;
    const auto add = [&](const QString& caption, QComboBox*& box) {
        box = new QComboBox(this);
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        form->addRow(label, box);
    };
    add(QStringLiteral("&Label"), m_label);
    add(QStringLiteral("&Image Type"), m_type);
    add(QStringLiteral("&Resolution (Dots Per Inch)"), m_resolution);
    add(QStringLiteral("&Border"), m_border);
    add(QStringLiteral("Background &Overlap"), m_overlap);

    const bool dvd = m_setup.caseKind == u"DVD";
    m_label->addItems({dvd ? QStringLiteral("Booklet") : QStringLiteral("Front Cover"),
                       dvd ? QStringLiteral("Case") : QStringLiteral("Back Cover")});
    if (m_setup.doubleDisc)
        m_label->addItems({QStringLiteral("Disc 1"), QStringLiteral("Disc 2")});
    else
        m_label->addItem(QStringLiteral("Disc Label"));
    m_type->addItems({QStringLiteral("Bitmap File (*.bmp)"), QStringLiteral("JPEG File (*.jpg)"),
                      QStringLiteral("PNG File (*.png)"), QStringLiteral("TIFF File (*.tif)")});
    m_resolution->addItems({QStringLiteral("150 DPI"), QStringLiteral("300 DPI"), QStringLiteral("600 DPI")});
    if (m_setup.units == LengthUnits::Millimeters)
        m_overlap->addItems({QStringLiteral("0.0 mm"), QStringLiteral("1.3 mm"), QStringLiteral("2.5 mm"),
                             QStringLiteral("3.8 mm")});
    else
        m_overlap->addItems({QStringLiteral("0.00 ''"), QStringLiteral("0.05 ''"), QStringLiteral("0.10 ''"),
                             QStringLiteral("0.15 ''")});

    auto* sizeCaption = new QLabel(QStringLiteral("Width x Height:"), this);
    m_pixelSize = new QLabel(this);
    m_physicalSize = new QLabel(this);
    for (QLabel* line : {m_pixelSize, m_physicalSize})
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(sizeCaption, m_pixelSize);
    form->addRow(QString(), m_physicalSize);

    m_preview = new QLabel(this);
    m_preview->setMinimumSize(340, 300);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_preview->setAccessibleName(QStringLiteral("Preview"));

    m_save = new QPushButton(QStringLiteral("&Save Image"), this);
    m_save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(m_save, &QPushButton::clicked, this, [this] { SaveImage(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(cancel);
    auto* columns = new QHBoxLayout;
    columns->addLayout(form);
    columns->addWidget(m_preview, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(kPreviewDelayMs);
    connect(m_previewTimer, &QTimer::timeout, this, [this] { RedrawPreview(); });
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(kProgressMs);
    connect(m_progressTimer, &QTimer::timeout, this, [this] { Poll(); });

    // Only the label and the overlap change what the preview shows.
    connect(m_label, &QComboBox::currentIndexChanged, this, [this] {
        RebuildBorders();
        UpdateSizes();
        m_previewTimer->start();
    });
    connect(m_overlap, &QComboBox::currentIndexChanged, this, [this] {
        UpdateSizes();
        m_previewTimer->start();
    });
    connect(m_resolution, &QComboBox::currentIndexChanged, this, [this] { UpdateSizes(); });
}

void ExportDialog::Restore(const std::optional<ExportSettings>& saved)
{
    ExportSettings settings = saved.value_or(ExportSettings{});
    if (!saved)
        settings.label = m_setup.defaultLabel;
    const QSignalBlocker blockLabel(m_label);
    m_label->setCurrentIndex(std::min(settings.label, m_label->count() - 1));
    m_type->setCurrentIndex(settings.imageType);
    m_resolution->setCurrentIndex(settings.resolution);
    m_overlap->setCurrentIndex(settings.overlap);
    RebuildBorders();
    m_border->setCurrentIndex(std::min(settings.border, m_border->count() - 1));
    m_path = settings.path.isEmpty() ? PicturesFolder() : settings.path;
    // A position on a screen that is gone would hide the dialog: it is centred instead.
    if (settings.position && QGuiApplication::screenAt(*settings.position + QPoint(20, 20)))
        move(*settings.position);
}

int ExportDialog::LabelIndex() const
{
    return std::max(0, m_label->currentIndex());
}

void ExportDialog::RebuildBorders()
{
    const int previous = m_border->currentIndex();
    const QSignalBlocker blocker(m_border);
    m_border->clear();
    m_border->addItems({QStringLiteral("No Border"), QStringLiteral("Border")});
    const int label = LabelIndex();
    const CRichChild* front = m_design.FindCover(kFrontCover);
    if (label == FrontSurface && front && front->coverFolded != 0)
        m_border->addItems({QStringLiteral("Fold Line"), QStringLiteral("Border & Fold Line")});
    else if (label == BackSurface)
        m_border->addItems({QStringLiteral("Fold Lines"), QStringLiteral("Border & Fold Lines")});
    m_border->setCurrentIndex(previous >= 0 && previous < m_border->count() ? previous
                                                                            : m_border->count() - 1);
}

ExportSettings ExportDialog::Settings() const
{
    ExportSettings settings;
    settings.label = LabelIndex();
    settings.imageType = m_type->currentIndex();
    settings.resolution = m_resolution->currentIndex();
    settings.border = m_border->currentIndex();
    settings.overlap = m_overlap->currentIndex();
    settings.position = pos();
    settings.path = m_path;
    return settings;
}

void ExportDialog::UpdateSizes()
{
    const CRichChild* cover = m_design.FindCover(SurfaceName(LabelIndex()));
    const int dpi = ResolutionDpi(m_resolution->currentIndex());
    if (!cover || dpi <= 0) {
        m_pixelSize->clear();
        m_physicalSize->clear();
        return;
    }
    const QSize pixels = SurfaceImageSize(*cover, dpi, dpi, OverlapMils(m_overlap->currentIndex()));
    m_pixelSize->setText(QString::asprintf("%d x %d pixels ", pixels.width(), pixels.height()));
    const double width = static_cast<double>(pixels.width()) / dpi;
    const double height = static_cast<double>(pixels.height()) / dpi;
    m_physicalSize->setText(m_setup.units == LengthUnits::Millimeters
                                ? QString::asprintf("%.1f x %.1f millimeters", width * 25.4, height * 25.4)
                                : QString::asprintf("%.3f x %.3f inches", width, height));
}

void ExportDialog::RedrawPreview()
{
    // The design does not change while the dialog is open, so each label is drawn once per overlap.
    const std::pair key(LabelIndex(), m_overlap->currentIndex());
    auto drawn = m_drawn.find(key);
    if (drawn == m_drawn.end()) {
        const std::optional<SurfaceImageRequest> request =
            RequestForCodes(key.first, 7, NoBorder, key.second);
        drawn = m_drawn.emplace(key, request ? RenderSurfaceImage(m_design, *request) : QImage()).first;
    }
    const QImage& label = drawn->second;
    const QSize box = m_preview->size() - QSize(kPreviewMargin, kPreviewMargin);
    if (label.isNull() || box.isEmpty()) {
        m_preview->clear();
        return;
    }
    m_preview->setPixmap(
        QPixmap::fromImage(label.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

QImage ExportDialog::PreviewImage() const
{
    return m_preview->pixmap().toImage();
}

void ExportDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (m_previewTimer)
        m_previewTimer->start();
}

void ExportDialog::SaveImage()
{
    if (m_job || !m_setup.chooseFile)
        return;
    const QString extension = ExportExtension(m_type->currentIndex());
    const std::optional<QString> chosen =
        m_setup.chooseFile(FolderOf(m_path) + QStringLiteral("Untitled") + extension, m_type->currentText());
    if (!chosen || chosen->isEmpty())
        return;
    m_path = *chosen;
    const QString path = ExportFilePath(*chosen, extension);
    // The save dialog confirmed only the name it returned; a name the extension made is asked about here.
    if (path != *chosen && QFileInfo::exists(path) && m_setup.ask &&
        m_setup.ask(QDir::toNativeSeparators(path) +
                        QStringLiteral(" already exists.\r\nDo you want to replace it?"),
                    QStringLiteral("Yes`No`")) != 1)
        return;

    ExportChoices choices;
    choices.label = LabelIndex();
    choices.dpi = ResolutionDpi(m_resolution->currentIndex());
    choices.border = m_border->currentIndex();
    choices.overlap = m_overlap->currentIndex();
    m_job = ExportJob::Start(m_design, choices, path);
    m_save->hide();
    m_status = QStringLiteral(" Creating Image File");
    m_dots = 0;
    setWindowTitle(m_status);
    m_progressTimer->start();
}

void ExportDialog::Poll()
{
    if (!m_job)
        return;
    if (m_job->state() == ExportJob::State::Finished) {
        Finished();
        return;
    }
    if (m_job->state() == ExportJob::State::Saving && m_status != u" Saving Image File") {
        m_status = QStringLiteral(" Saving Image File");
        m_dots = 0;
    }
    ++m_dots;
    QString title = m_status + QString(m_dots, u'.');
    if (fontMetrics().horizontalAdvance(title) > kTitleWidthLimit) {
        m_dots = 0;
        title = m_status;
    }
    setWindowTitle(title);
}

void ExportDialog::Finished()
{
    const std::optional<FileResult<>> result = m_job->result();
    m_job.reset();
    m_progressTimer->stop();
    setWindowTitle(kTitle);
    StoreSettings();
    if (result && *result) {
        accept();
        return;
    }
    m_save->show();
    const QString message = result ? FullMessage(result->error()) : ErrorText(1034);
    if (m_setup.ask)
        m_setup.ask(message, QStringLiteral("OK`"));
}

void ExportDialog::StoreSettings()
{
    SaveExportSettings(m_setup.settingsPath, Settings());
}

void ExportDialog::reject()
{
    if (m_job) {
        m_job->Cancel();
        m_job.reset();
        m_progressTimer->stop();
    }
    StoreSettings();
    QDialog::reject();
}

} // namespace tvl
