#include "render/picture/PictureCache.h"

#include "images/CxImage.h"

#include <QPainter>

namespace tvl {

const QImage& PictureCache::Stretched(const std::shared_ptr<CxImage>& picture, QSize size)
{
    Entry& entry = m_entries[picture.get()];
    if (entry.picture.lock() != picture || entry.stretched.size() != size) {
        entry.picture = picture;
        entry.stretched = QImage(size, QImage::Format_RGB32);
        entry.stretched.fill(Qt::white);
        QPainter painter(&entry.stretched);
        picture->DrawTo(&painter, QRect(QPoint(0, 0), size));
        ++m_stretchCount;
    }
    return entry.stretched;
}

void PictureCache::Prune()
{
    std::erase_if(m_entries, [](const auto& entry) { return entry.second.picture.expired(); });
}

} // namespace tvl
