#pragma once

#include "app/imagesbar/ImageBrowser.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

class QScrollBar;

namespace tvl {

class ImageCell;

// What the Images bar asks of the program around it.
struct ImagesBarPorts
{
    // The first press on a thumbnail: true when a tip was shown, and the press does nothing else.
    std::function<bool()> pressTip;
    // A double click on a picture file: it becomes the background of the current surface.
    std::function<void(const QString& path)> setBackground;
    // "[No Background]" chosen: the current surface loses its background.
    std::function<void()> removeBackground;
    // The right button on a thumbnail, at a screen point.
    std::function<void(const QString& path, QPoint global)> contextMenu;
    // The bar's caption: "Images", then "Images (n)" while files are found.
    std::function<void(const QString& caption)> setCaption;
};

// The content of the "Images" docking bar: thumbnails of the picture files of one folder in 117 × 132
// cells, row by row. Only the visible range has cell widgets, reused while scrolling. Files are dragged
// out as file URLs, so any window that takes picture files (our label view among them) can take them.
class ImagesBarWidget final : public QWidget
{
public:
    explicit ImagesBarWidget(ImagesBarPorts ports, QWidget* parent = nullptr,
                             int thumbnailWorkers = ImageBrowser::kDefaultThumbnailWorkers,
                             ThumbnailMaker maker = MakeThumbnail);
    ~ImagesBarWidget() override;

    // Shows the picture files of folder matching patterns (";"-separated); a listing still running is
    // stopped first.
    void Browse(const QString& folder, const QString& patterns, bool subfolders);
    const ImageBrowser& browser() const { return m_browser; }
    ImageBrowser& browser() { return m_browser; }
    int columns() const { return m_columns; }
    int scrollPosition() const;
    // The cell widget showing an entry; null when the entry is not in the visible range.
    ImageCell* CellFor(int index) const;

private:
    friend class ImageCell;

    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void StartBrowse();
    void PollListing();
    void RepaintReady();
    void Layout();
    void LayOutCells();
    // Reports what went wrong inside a worker since the last poll.
    void ReportWorkerFailures();
    void CellPressed(int index);
    void CellDoubleClicked(int index);
    void CellMenu(int index, QPoint global);

    ImagesBarPorts m_ports;
    ImageBrowser m_browser;
    QScrollBar* m_scrollBar = nullptr;
    std::vector<ImageCell*> m_cells;
    QTimer m_browseRetry;
    QTimer m_listingTimer;
    QTimer m_thumbnailTimer;
    QString m_pendingFolder;
    QString m_pendingPatterns;
    bool m_pendingSubfolders = false;
    int m_laidOut = -1;
    int m_columns = 1;
    int m_first = 0;
    int m_last = -1;
};

// One thumbnail cell: the thumbnail centred in 110 × 110, the file name under it.
class ImageCell final : public QWidget
{
public:
    ImageCell(ImagesBarWidget& bar, QWidget* parent);

    void Show(int index, const ImageEntry& entry);
    int index() const { return m_index; }
    const ImageEntry& entry() const { return m_entry; }

private:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void StartDrag();

    ImagesBarWidget& m_bar;
    int m_index = -1;
    ImageEntry m_entry;
    QPoint m_pressPoint;
    bool m_dragArmed = false;
};

} // namespace tvl
