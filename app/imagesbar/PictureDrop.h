#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QMimeData;
class QWidget;

namespace tvl {

// Lets the label view take picture files dropped on it: thumbnails dragged from an Images bar (of this
// window or another) and files from a file manager, all as file URLs. drop is told the file and the drop
// point in window pixels, and whether Shift was held (the picture becomes a background).
class PictureDrop final : public QObject
{
public:
    using DropHandler = std::function<void(const QString& path, QPoint window, bool background)>;
    PictureDrop(QWidget* viewport, DropHandler drop);

    // The first local file a drag carries; empty when it carries none.
    static QString DroppedFile(const QMimeData* data);

private:
    bool eventFilter(QObject* watched, QEvent* event) override;

    DropHandler m_drop;
    // The file the drag offered while it moved over the view. Another program's data can no longer be
    // read at the drop on every desktop (Qt's own drags among them), so the drop falls back on it.
    QString m_draggedFile;
};

} // namespace tvl
