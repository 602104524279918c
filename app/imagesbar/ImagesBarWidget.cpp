#include "app/imagesbar/ImagesBarWidget.h"

#include "app/imagesbar/ImageCells.h"
#include "app/messages/ErrorReport.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>

namespace tvl {
namespace {

constexpr int kPollInterval = 100;
constexpr int kRepaintInterval = 200;
constexpr int kOutlineWidth = 3;
// The tip is at most 400 pixels wide, its frame and margins included.
constexpr int kTooltipTextWidth = 400 - 16;
constexpr int kThumbnailError = 461;
constexpr int kBrowseError = 462;
constexpr int kLayoutError = 464;

bool IsRealFile(const ImageEntry& entry)
{
    return !entry.path.isEmpty() && entry.path != kNoBackgroundPath;
}

// The frame that follows the pointer while a thumbnail is dragged.
QPixmap DragOutline(QSize size)
{
    QPixmap outline(size);
    outline.fill(Qt::transparent);
    QPainter painter(&outline);
    QPen pen(Qt::black, kOutlineWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(outline.rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    return outline;
}

} // namespace

ImagesBarWidget::ImagesBarWidget(ImagesBarPorts ports, QWidget* parent, int thumbnailWorkers,
                                 ThumbnailMaker maker)
    : QWidget(parent)
    , m_ports(std::move(ports))
    , m_browser(thumbnailWorkers, std::move(maker))
    , m_scrollBar(new QScrollBar(Qt::Vertical, this))
{
    setObjectName(QStringLiteral("ImagesBrowser"));
    setAccessibleName(QStringLiteral("Images"));
    setMinimumWidth(kCellWidth + 20);
    m_scrollBar->setSingleStep(kWheelStep);
    m_scrollBar->hide();
    connect(m_scrollBar, &QScrollBar::valueChanged, this, [this] { Layout(); });
    m_browseRetry.setInterval(kPollInterval);
    connect(&m_browseRetry, &QTimer::timeout, this, [this] { StartBrowse(); });
    m_listingTimer.setInterval(kPollInterval);
    connect(&m_listingTimer, &QTimer::timeout, this, [this] { PollListing(); });
    m_thumbnailTimer.setInterval(kRepaintInterval);
    connect(&m_thumbnailTimer, &QTimer::timeout, this, [this] { RepaintReady(); });
}

ImagesBarWidget::~ImagesBarWidget() = default;

void ImagesBarWidget::Browse(const QString& folder, const QString& patterns, bool subfolders)
{
    m_pendingFolder = folder;
    m_pendingPatterns = patterns;
    m_pendingSubfolders = subfolders;
    StartBrowse();
}

void ImagesBarWidget::StartBrowse()
{
    Guarded(kBrowseError, [this] {
        if (!m_browser.Browse(m_pendingFolder, m_pendingPatterns, m_pendingSubfolders)) {
            m_browseRetry.start();
            return;
        }
        m_browseRetry.stop();
        for (ImageCell* cell : m_cells)
            cell->hide();
        m_laidOut = -1;
        m_scrollBar->setValue(0);
        if (m_ports.setCaption)
            m_ports.setCaption(QStringLiteral("Images"));
        m_listingTimer.start();
        m_thumbnailTimer.start();
    });
}

void ImagesBarWidget::ReportWorkerFailures()
{
    if (m_browser.TakeListingFailure())
        ReportError(kBrowseError);
    if (const int step = m_browser.TakeThumbnailFailureStep())
        ReportErrorStep(kThumbnailError, step);
}

void ImagesBarWidget::PollListing()
{
    ReportWorkerFailures();
    const bool listing = m_browser.Listing();
    const int count = m_browser.Count();
    if (count != m_laidOut) {
        Layout();
        if (m_ports.setCaption)
            m_ports.setCaption(QStringLiteral("Images (%1)").arg(std::max(count - 1, 0)));
    }
    if (!listing && count == m_laidOut)
        m_listingTimer.stop();
}

void ImagesBarWidget::RepaintReady()
{
    ReportWorkerFailures();
    bool missing = false;
    for (ImageCell* cell : m_cells) {
        if (!cell->isVisible())
            continue;
        const ImageEntry entry = m_browser.Entry(cell->index());
        if (entry.thumbnail.cacheKey() != cell->entry().thumbnail.cacheKey() ||
            entry.failed != cell->entry().failed)
            cell->Show(cell->index(), entry);
        missing = missing || (entry.thumbnail.isNull() && !entry.failed);
    }
    if (missing)
        m_browser.MakeThumbnails(m_first, m_last);
    else if (!m_listingTimer.isActive() && !m_browser.MakingThumbnails())
        m_thumbnailTimer.stop();
}

int ImagesBarWidget::scrollPosition() const
{
    return m_scrollBar->isVisible() ? m_scrollBar->value() : 0;
}

ImageCell* ImagesBarWidget::CellFor(int index) const
{
    for (ImageCell* cell : m_cells) {
        if (cell->isVisible() && cell->index() == index)
            return cell;
    }
    return nullptr;
}

void ImagesBarWidget::Layout()
{
    Guarded(kLayoutError, [this] { LayOutCells(); });
}

void ImagesBarWidget::LayOutCells()
{
    const int count = m_browser.Count();
    m_laidOut = count;
    const int barWidth = width();
    m_columns = ColumnCount(barWidth);
    const int rows = count / m_columns + (count % m_columns ? 1 : 0);
    const int contentHeight = rows * kCellHeight;
    const bool scrolls = contentHeight > height();
    int area = barWidth;
    if (scrolls) {
        const int bar = m_scrollBar->sizeHint().width();
        m_scrollBar->setGeometry(barWidth - bar, 0, bar, height());
        m_scrollBar->setRange(0, contentHeight - height());
        m_scrollBar->setPageStep(height());
        m_scrollBar->show();
        area -= bar;
    } else {
        m_scrollBar->hide();
        m_scrollBar->setValue(0);
    }
    const int scroll = scrollPosition();
    const auto [first, last] = VisibleRange(height(), scroll, m_columns, count);
    m_first = first;
    m_last = last;
    const std::size_t needed = static_cast<std::size_t>(std::max(last - first + 1, 0));
    while (m_cells.size() < needed)
        m_cells.push_back(new ImageCell(*this, this));
    for (std::size_t slot = 0; slot < m_cells.size(); ++slot) {
        ImageCell* cell = m_cells[slot];
        if (slot >= needed) {
            cell->hide();
            continue;
        }
        const int index = first + static_cast<int>(slot);
        const int column = index % m_columns;
        const int x = column * kCellWidth;
        const int y = index / m_columns * kCellHeight - scroll;
        const bool stretches = index == count - 1 && !m_browser.Listing();
        // "[No Background]" stretches over the rest of its row.
        const int cellWidth = stretches ? std::max(area - x, kCellWidth) : kCellWidth;
        cell->setGeometry(x, y, cellWidth, kCellHeight);
        if (cell->index() != index || !cell->isVisible())
            cell->Show(index, m_browser.Entry(index));
        cell->show();
    }
    m_scrollBar->raise();
    if (last >= first) {
        m_browser.MakeThumbnails(first, last);
        m_thumbnailTimer.start();
    }
}

void ImagesBarWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Layout();
}

void ImagesBarWidget::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0 && m_scrollBar->isVisible())
        m_scrollBar->setValue(m_scrollBar->value() - notches * kWheelStep);
    event->accept();
}

void ImagesBarWidget::CellPressed(int index)
{
    const ImageEntry entry = m_browser.Entry(index);
    if (entry.path == kNoBackgroundPath && m_ports.removeBackground)
        m_ports.removeBackground();
}

void ImagesBarWidget::CellDoubleClicked(int index)
{
    const ImageEntry entry = m_browser.Entry(index);
    if (IsRealFile(entry)) {
        if (m_ports.setBackground)
            m_ports.setBackground(entry.path);
    } else if (entry.path == kNoBackgroundPath && m_ports.removeBackground) {
        m_ports.removeBackground();
    }
}

void ImagesBarWidget::CellMenu(int index, QPoint global)
{
    const ImageEntry entry = m_browser.Entry(index);
    if (IsRealFile(entry) && m_ports.contextMenu)
        m_ports.contextMenu(entry.path, global);
}

ImageCell::ImageCell(ImagesBarWidget& bar, QWidget* parent)
    : QWidget(parent)
    , m_bar(bar)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ImageCell::Show(int index, const ImageEntry& entry)
{
    m_index = index;
    m_entry = entry;
    setAccessibleName(entry.name);
    if (IsRealFile(entry) && entry.dimensions.isValid())
        setToolTip(ImageTooltip(entry.name, entry.dimensions, entry.size, entry.path));
    else
        setToolTip(IsRealFile(entry) ? entry.name : QString());
    update();
}

bool ImageCell::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip || toolTip().isEmpty())
        return QWidget::event(event);
    // Long folder paths wrap so that the tip stays within its width.
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(),
                       WrapTooltip(toolTip(), QFontMetrics(QToolTip::font()), kTooltipTextWidth), this,
                       rect());
    return true;
}

void ImageCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_entry.thumbnail.isNull()) {
        const QSize size = m_entry.thumbnail.size();
        painter.drawImage(QPoint((kThumbnailSide - size.width()) / 2, (kThumbnailSide - size.height()) / 2),
                          m_entry.thumbnail);
    }
    const QFontMetrics metrics(font());
    const QRect nameBox(0, kThumbnailSide, kThumbnailSide, kCellHeight - kThumbnailSide);
    // A name wider than the thumbnail is drawn from the left and clipped.
    const int alignment =
        metrics.horizontalAdvance(m_entry.name) > kThumbnailSide ? Qt::AlignLeft : Qt::AlignHCenter;
    painter.setClipRect(nameBox);
    painter.drawText(nameBox, alignment | Qt::AlignTop | Qt::TextSingleLine, m_entry.name);
}

void ImageCell::mousePressEvent(QMouseEvent* event)
{
    m_dragArmed = false;
    if (event->button() == Qt::RightButton) {
        m_bar.CellMenu(m_index, event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (m_bar.m_ports.pressTip && m_bar.m_ports.pressTip())
        return;
    m_bar.CellPressed(m_index);
    m_pressPoint = event->position().toPoint();
    m_dragArmed = IsRealFile(m_entry);
}

void ImageCell::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragArmed || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragArmed = false;
    StartDrag();
}

void ImageCell::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_dragArmed = false;
    if (event->button() == Qt::LeftButton)
        m_bar.CellDoubleClicked(m_index);
}

void ImageCell::StartDrag()
{
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(m_entry.path)});
    drag->setMimeData(data);
    const QSize outline =
        m_entry.thumbnail.isNull() ? QSize(kThumbnailSide, kThumbnailSide) : m_entry.thumbnail.size();
    drag->setPixmap(DragOutline(outline));
    drag->setHotSpot(QPoint(outline.width() / 2, outline.height() / 2));
    drag->exec(Qt::CopyAction);
}

} // namespace tvl
