#include "app/imagesbar/ImageBrowser.h"

#include "app/imagesbar/ImageCells.h"
#include "discinfo/FileFinder.h"
#include "images/CxImage.h"
#include "images/ImageFormat.h"

#include <QFileInfo>
#include <QImageReader>

namespace tvl {

QImage MakeThumbnail(const QString& path, QSize& dimensions)
{
    CxImage image;
    if (!image.LoadThumbnail(path, ImageTypeFromExtension(path), {kThumbnailSide, kThumbnailSide}))
        return {};
    // The header tells the picture's own size without decoding it in full.
    QImageReader reader(path);
    dimensions = reader.size();
    if (!dimensions.isValid())
        dimensions = {image.Width(), image.Height()};
    const QSize shown = ThumbnailSize(dimensions);
    if (image.HasAlpha()) {
        image.SetTransparentColor(qRgb(255, 255, 255));
        image.FlattenAlpha();
    }
    if (QSize(image.Width(), image.Height()) != shown && !image.ResampleTo(shown.width(), shown.height()))
        return {};
    return image.ToBitmap().convertToFormat(QImage::Format_RGB32);
}

ImageBrowser::~ImageBrowser()
{
    closing = true;
    abortListing = true;
    JoinWorkers();
}

void ImageBrowser::JoinWorkers()
{
    if (listingWorker.joinable())
        listingWorker.join();
    if (thumbnailWorker.joinable())
        thumbnailWorker.join();
}

bool ImageBrowser::Browse(const QString& folder, const QString& patterns, bool subfolders)
{
    if (listingBusy || thumbnailsBusy) {
        abortListing = true;
        return false;
    }
    JoinWorkers();
    abortListing = false;
    {
        const std::lock_guard guard(lock);
        entries.clear();
    }
    rangeFirst = 0;
    rangeLast = -1;
    currentFolder = folder;
    listingBusy = true;
    listingWorker = std::thread(&ImageBrowser::ListFolder, this, folder, patterns, subfolders);
    return true;
}

void ImageBrowser::ListFolder(QString folder, QString patterns, bool subfolders)
{
    FileFinder finder([this] { return abortListing.load(); });
    finder.SetFoundHandler([this](const FileFinder::FoundFile& file) {
        ImageEntry entry{QFileInfo(file.path).fileName(), file.path, file.size, {}, {}, false};
        const std::lock_guard guard(lock);
        entries.push_back(std::move(entry));
    });
    finder.Search(folder, patterns, subfolders);
    {
        const std::lock_guard guard(lock);
        entries.push_back({kNoBackgroundName.toString(), kNoBackgroundPath.toString(), 0, {}, {}, false});
    }
    listingBusy = false;
}

int ImageBrowser::Count() const
{
    const std::lock_guard guard(lock);
    return static_cast<int>(entries.size());
}

ImageEntry ImageBrowser::Entry(int index) const
{
    const std::lock_guard guard(lock);
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return {};
    return entries[static_cast<std::size_t>(index)];
}

void ImageBrowser::MakeThumbnails(int first, int last)
{
    if (first != rangeFirst || last != rangeLast) {
        rangeFirst = first;
        rangeLast = last;
        ++rangeGeneration;
    }
    if (thumbnailsBusy || closing)
        return;
    if (thumbnailWorker.joinable())
        thumbnailWorker.join();
    thumbnailsBusy = true;
    thumbnailWorker = std::thread(&ImageBrowser::ThumbnailPass, this);
}

void ImageBrowser::ThumbnailPass()
{
    bool restart = true;
    while (restart && !closing && !abortListing) {
        restart = false;
        const int generation = rangeGeneration;
        const int last = rangeLast + 2;
        for (int index = rangeFirst; index <= last && !closing && !abortListing; ++index) {
            if (generation != rangeGeneration) {
                restart = true;
                break;
            }
            QString path;
            {
                const std::lock_guard guard(lock);
                if (index >= static_cast<int>(entries.size()))
                    break;
                const ImageEntry& entry = entries[static_cast<std::size_t>(index)];
                if (!entry.thumbnail.isNull() || entry.failed)
                    continue;
                path = entry.path;
            }
            QImage thumbnail;
            QSize dimensions;
            if (path == kNoBackgroundPath) {
                thumbnail = QImage(kThumbnailSide, kThumbnailSide, QImage::Format_RGB32);
                thumbnail.fill(Qt::white);
            } else {
                ++decodes;
                thumbnail = MakeThumbnail(path, dimensions);
            }
            const std::lock_guard guard(lock);
            if (index >= static_cast<int>(entries.size()) ||
                entries[static_cast<std::size_t>(index)].path != path)
                continue;
            ImageEntry& entry = entries[static_cast<std::size_t>(index)];
            // A file that cannot be decoded keeps an empty cell; the pass goes on with the next one.
            entry.failed = thumbnail.isNull();
            entry.thumbnail = thumbnail;
            entry.dimensions = dimensions;
        }
        if (generation != rangeGeneration)
            restart = true;
    }
    thumbnailsBusy = false;
}

} // namespace tvl
