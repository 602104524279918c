#pragma once

#include <QImage>
#include <QSize>
#include <memory>
#include <unordered_map>

namespace tvl {

class CxImage;

// Screen copies of pictures, each already stretched to the size it was last drawn at, so repainting
// and scrolling copy instead of resampling. One entry per picture; a new size replaces it. Entries of
// pictures that no longer exist are dropped by Prune.
class PictureCache
{
public:
    // The picture stretched to size, resampled only when the size changed since the last call.
    const QImage& Stretched(const std::shared_ptr<CxImage>& picture, QSize size);
    // Forgets the pictures no item holds any more.
    void Prune();
    void Clear() { m_entries.clear(); }

    // How often a picture was stretched; a repaint that changes nothing leaves it as it is.
    int stretchCount() const { return m_stretchCount; }

private:
    struct Entry
    {
        std::weak_ptr<CxImage> picture;
        QImage stretched;
    };
    std::unordered_map<const CxImage*, Entry> m_entries;
    int m_stretchCount = 0;
};

} // namespace tvl
