#include "app/imagesbar/ImageSearchDialog.h"

#include "app/imagesbar/ImageBrowser.h"
#include "app/imagesbar/ImageCells.h"
#include "app/messages/ErrorReport.h"
#include "app/settings/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace tvl {
namespace {

const QString kDefaultPathKey = QStringLiteral("BrowseDefaultPath");
constexpr int kCaptionWidth = 260;
constexpr int kTicksBeforeClose = 5;

} // namespace

ImageSearchDialog::ImageSearchDialog(ImageBrowser& browser, SettingsStore& store,
                                     std::function<void(const QString&, const QString&, bool)> browse,
                                     QWidget* parent)
    : QDialog(parent)
    , m_browser(browser)
    , m_store(store)
    , m_browse(std::move(browse))
{
    setWindowTitle(QStringLiteral("Image Search"));
    resize(335, 400);
    auto* layout = new QVBoxLayout(this);
    m_caption = new QLabel(QStringLiteral(" Click on a folder to start your search."), this);
    layout->addWidget(m_caption);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(QDir::rootPath());
    m_tree = new QTreeView(this);
    m_tree->setModel(m_model);
    m_tree->setAccessibleName(QStringLiteral("Folders"));
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->header()->hide();
    m_tree->setFixedHeight(268);
    layout->addWidget(m_tree);

    layout->addWidget(new QLabel(QStringLiteral("File Types:"), this));
    m_filter = new QComboBox(this);
    m_filter->addItems(ImageFilterNames());
    m_filter->setCurrentIndex(std::clamp(store.Number(QStringLiteral("BrowseFilter")).value_or(0), 0, 7));
    m_filter->setAccessibleName(QStringLiteral("File Types:"));
    layout->addWidget(m_filter);
    m_subfolders = new QCheckBox(QStringLiteral("Search Subfolders"), this);
    m_subfolders->setChecked(store.Number(QStringLiteral("BrowseSubfolder")).value_or(0) != 0);
    layout->addWidget(m_subfolders);
    m_setDefault = new QCheckBox(QStringLiteral("Set as default folder"), this);
    layout->addWidget(m_setDefault);
    m_close = new QPushButton(QStringLiteral("Close"), this);
    layout->addWidget(m_close, 0, Qt::AlignRight);

    if (!browser.folder().isEmpty())
        m_tree->setCurrentIndex(m_model->index(browser.folder()));
    m_setDefault->setEnabled(SelectedFolder() != DefaultFolder());

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { Search(); });
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_store.WriteNumber(QStringLiteral("BrowseFilter"), index);
        Search();
    });
    connect(m_subfolders, &QCheckBox::toggled, this, [this](bool on) {
        m_store.WriteNumber(QStringLiteral("BrowseSubfolder"), on ? 1 : 0);
        Search();
    });
    connect(m_setDefault, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            return;
        m_store.WriteString(kDefaultPathKey, SelectedFolder());
        m_setDefault->setEnabled(false);
    });
    connect(m_close, &QPushButton::clicked, this, [this] { CloseOrStop(); });
    m_progress.setInterval(100);
    connect(&m_progress, &QTimer::timeout, this, [this] { Tick(); });
}

QString ImageSearchDialog::caption() const
{
    return m_caption->text();
}

void ImageSearchDialog::ChooseFolder(const QString& folder)
{
    m_tree->setCurrentIndex(m_model->index(folder));
}

QString ImageSearchDialog::SelectedFolder() const
{
    return m_model->filePath(m_tree->currentIndex());
}

QString ImageSearchDialog::DefaultFolder() const
{
    return m_store.String(kDefaultPathKey).value_or(QString());
}

void ImageSearchDialog::Search()
{
    Guarded(825, [this] {
        const QString folder = SelectedFolder();
        if (folder.isEmpty())
            return;
        {
            const QSignalBlocker block(m_setDefault);
            m_setDefault->setChecked(false);
        }
        m_setDefault->setEnabled(folder != DefaultFolder());
        m_browse(folder, ImageFilterPatterns(m_filter->currentIndex()), m_subfolders->isChecked());
        m_close->setText(QStringLiteral("Stop Search"));
        m_dots = 0;
        m_ticksAfterEnd = -1;
        m_stopping = false;
        m_progress.start();
    });
}

void ImageSearchDialog::Tick()
{
    const int found = std::max(m_browser.Count() - 1, 0);
    if (m_browser.Listing() || m_browser.folder() != SelectedFolder()) {
        QString text = QStringLiteral(" Searching Images (%1)").arg(m_browser.Count());
        text += QString(++m_dots, u'.');
        // The row of dots starts again once the caption no longer fits.
        if (m_caption->fontMetrics().horizontalAdvance(text) > kCaptionWidth) {
            m_dots = 0;
            text = QStringLiteral(" Searching Images (%1)").arg(m_browser.Count());
        }
        m_caption->setText(text);
        return;
    }
    if (m_ticksAfterEnd < 0) {
        m_caption->setText(QStringLiteral(" %1").arg(found) +
                           (found == 1 ? QStringLiteral(" Image Found") : QStringLiteral(" Images Found")));
        m_ticksAfterEnd = 0;
    }
    if (m_stopping) {
        // The listing has stopped: thumbnails may be made again.
        m_browser.ClearStop();
        m_stopping = false;
        m_ticksAfterEnd = kTicksBeforeClose;
    }
    if (++m_ticksAfterEnd >= kTicksBeforeClose) {
        m_close->setText(QStringLiteral("Close"));
        m_progress.stop();
    }
}

void ImageSearchDialog::CloseOrStop()
{
    if (m_close->text() == u"Close") {
        close();
        return;
    }
    m_stopping = true;
    m_browser.StopListing();
}

} // namespace tvl
