#include "app/imagesbar/PictureDrop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace tvl {

PictureDrop::PictureDrop(QWidget* viewport, DropHandler drop)
    : QObject(viewport)
    , m_drop(std::move(drop))
{
    viewport->setAcceptDrops(true);
    viewport->installEventFilter(this);
}

QString PictureDrop::DroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

bool PictureDrop::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        m_draggedFile = DroppedFile(drag->mimeData());
        if (m_draggedFile.isEmpty())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        QString path = DroppedFile(drop->mimeData());
        if (path.isEmpty())
            path = m_draggedFile;
        m_draggedFile.clear();
        if (path.isEmpty())
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        const bool background = drop->modifiers().testFlag(Qt::ShiftModifier);
        // The drag's own loop is still running: the work (and any message it shows) follows it.
        QMetaObject::invokeMethod(
            this, [this, path, at = drop->position().toPoint(), background] { m_drop(path, at, background); },
            Qt::QueuedConnection);
        return true;
    }
    case QEvent::DragLeave:
        m_draggedFile.clear();
        return false;
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace tvl
