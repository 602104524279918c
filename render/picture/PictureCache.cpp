#include "render/picture/PictureCache.h"

#include "images/CxImage.h"

#include <QPainter>

#include <algorithm>

namespace tvl {
namespace {

// A picture drawn stretched to exactly size on white, as the screen shows it.
QImage StretchedCopy(const CxImage& picture, QSize size)
{
    QImage stretched(size, QImage::Format_RGB32);
    stretched.fill(Qt::white);
    QPainter painter(&stretched);
    picture.DrawTo(&painter, QRect(QPoint(0, 0), size));
    return stretched;
}

} // namespace

PictureCache::PictureCache()
{
    // Two decoders at most: the machine's other work and the window go on meanwhile.
    m_decoders.setMaxThreadCount(2);
}

PictureCache::~PictureCache()
{
    m_decoders.clear();
    m_decoders.waitForDone();
}

const QImage* PictureCache::Stretched(const std::shared_ptr<CxImage>& picture, QSize size)
{
    Entry& entry = m_entries[picture.get()];
    if (entry.picture.lock() != picture)
        entry = Entry{picture, {}, {}, 0, false};
    if (entry.stretched.size() == size)
        return &entry.stretched;
    if (picture->IsDeferred()) {
        if (entry.pending != size && !entry.failed)
            StartBackground(entry, *picture, size);
        return entry.stretched.isNull() ? nullptr : &entry.stretched;
    }
    entry.stretched = StretchedCopy(*picture, size);
    ++m_stretchCount;
    return &entry.stretched;
}

void PictureCache::StartBackground(Entry& entry, const CxImage& picture, QSize size)
{
    entry.pending = size;
    entry.job = ++m_jobs;
    const int job = entry.job;
    const QByteArray bytes = picture.SourceBytes();
    const int type = picture.Type();
    const CxImage* key = &picture;
    m_decoders.start([this, key, job, bytes, type, size] {
        CxImage reduced;
        QImage stretched;
        if (reduced.LoadBufferAtLeast(bytes, type, size))
            stretched = StretchedCopy(reduced, size);
        QMetaObject::invokeMethod(
            &m_receiver, [this, key, job, stretched] { Deliver(key, job, stretched); }, Qt::QueuedConnection);
    });
}

void PictureCache::Deliver(const CxImage* key, int job, QImage stretched)
{
    const auto found = m_entries.find(key);
    if (found == m_entries.end() || found->second.job != job || found->second.picture.expired())
        return;
    Entry& entry = found->second;
    entry.pending = QSize();
    if (stretched.isNull()) {
        entry.failed = true;
        return;
    }
    entry.stretched = std::move(stretched);
    ++m_backgroundCount;
    if (m_ready)
        m_ready(key);
}

int PictureCache::pendingCount() const
{
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(),
                                          [](const auto& entry) { return entry.second.pending.isValid(); }));
}

void PictureCache::Prune()
{
    std::erase_if(m_entries, [](const auto& entry) { return entry.second.picture.expired(); });
}

void PictureCache::Clear()
{
    std::erase_if(m_entries, [](const auto& entry) {
        const std::shared_ptr<CxImage> picture = entry.second.picture.lock();
        return !picture || !picture->IsDeferred();
    });
}

} // namespace tvl
