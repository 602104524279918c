#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <unordered_map>

namespace tvl {

class CxImage;

// Screen copies of pictures, each already stretched to the size it was last drawn at, so repainting
// and scrolling copy instead of resampling. One entry per picture; a new size replaces it. Entries of
// pictures that no longer exist are dropped by Prune.
//
// A picture whose pixels are not decoded yet (CxImage::IsDeferred) is decoded off the user-interface
// thread at the smallest size that covers the size asked for, stretched there, and handed back on the
// thread that owns the cache, which then tells the ready handler. Until then it has no copy, or the one
// made at the size it was last drawn at.
class PictureCache
{
public:
    PictureCache();
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The picture stretched to size, resampled only when the size changed since the last call. For a
    // deferred picture: the copy at size once it is ready, meanwhile the copy at the size it was drawn at
    // before (to be drawn scaled) or none.
    const QImage* Stretched(const std::shared_ptr<CxImage>& picture, QSize size);
    // Told, on the thread that owns the cache, of each picture whose copy was made in the background.
    void SetReadyHandler(std::function<void(const CxImage*)> ready) { m_ready = std::move(ready); }
    // Forgets the pictures no item holds any more.
    void Prune();
    // Drops the stretched copies, after a zoom; deferred pictures keep theirs until their new one is ready.
    void Clear();

    // How often a picture was stretched; a repaint that changes nothing leaves it as it is.
    int stretchCount() const { return m_stretchCount; }
    // Copies made in the background and handed back.
    int backgroundCount() const { return m_backgroundCount; }
    // Background copies asked for and not yet handed back.
    int pendingCount() const;

private:
    struct Entry
    {
        std::weak_ptr<CxImage> picture;
        QImage stretched;
        QSize pending;       // the size a background copy is being made at
        int job = 0;         // which background copy the entry waits for
        bool failed = false; // the picture did not decode: not tried again
    };
    void StartBackground(Entry& entry, const CxImage& picture, QSize size);
    void Deliver(const CxImage* key, int job, QImage stretched);

    std::unordered_map<const CxImage*, Entry> m_entries;
    std::function<void(const CxImage*)> m_ready;
    int m_stretchCount = 0;
    int m_backgroundCount = 0;
    int m_jobs = 0;
    // Handed-back copies are queued to this object; declared before the pool so that the pool, which waits
    // for its decoders, goes first and nothing is queued to a receiver that is gone.
    QObject m_receiver;
    QThreadPool m_decoders;
};

} // namespace tvl
