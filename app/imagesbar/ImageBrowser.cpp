#include "app/imagesbar/ImageBrowser.h"

#include "app/imagesbar/ImageCells.h"
#include "discinfo/FileFinder.h"
#include "images/CxImage.h"
#include "images/ImageFormat.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

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

ImageBrowser::ImageBrowser(int thumbnailWorkers, ThumbnailMaker maker)
    : workerCount(std::max(thumbnailWorkers, 1))
    , makeThumbnail(std::move(maker))
{
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
    JoinThumbnailWorkers();
}

void ImageBrowser::JoinThumbnailWorkers()
{
    for (std::thread& worker : thumbnailWorkers) {
        if (worker.joinable())
            worker.join();
    }
    thumbnailWorkers.clear();
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
        taken.clear();
    }
    rangeFirst = 0;
    rangeLast = -1;
    ++rangeGeneration;
    currentFolder = folder;
    listingBusy = true;
    listingWorker = std::thread(&ImageBrowser::ListFolder, this, folder, patterns, subfolders);
    return true;
}

void ImageBrowser::ListFolder(QString folder, QString patterns, bool subfolders)
{
    try {
        FileFinder finder([this] { return abortListing.load(); });
        finder.SetFoundHandler([this](const FileFinder::FoundFile& file) {
            ImageEntry entry{QFileInfo(file.path).fileName(), file.path, file.size, {}, {}, false};
            const std::lock_guard guard(lock);
            entries.push_back(std::move(entry));
        });
        finder.Search(folder, patterns, subfolders);
        const std::lock_guard guard(lock);
        entries.push_back({kNoBackgroundName.toString(), kNoBackgroundPath.toString(), 0, {}, {}, false});
    } catch (...) {
        listingFailed = true;
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
        const std::lock_guard guard(lock);
        rangeFirst = first;
        rangeLast = last;
        ++rangeGeneration;
    }
    if (thumbnailsBusy || closing)
        return;
    JoinThumbnailWorkers();
    thumbnailsBusy = true;
    runningWorkers = workerCount;
    for (int worker = 0; worker < workerCount; ++worker)
        thumbnailWorkers.emplace_back(&ImageBrowser::ThumbnailWorker, this);
}

void ImageBrowser::ThumbnailWorker()
{
    try {
        ThumbnailPass();
    } catch (...) {
        // Taking or storing an entry failed (step 1); a failing decode is caught inside the pass.
        thumbnailFailureStep = 1;
    }
    if (--runningWorkers == 0)
        thumbnailsBusy = false;
}

int ImageBrowser::TakeNextEntry(QString& path)
{
    const std::lock_guard guard(lock);
    // A new visible range restarts the pass at its first entry.
    if (passGeneration != rangeGeneration) {
        passGeneration = rangeGeneration;
        cursor = rangeFirst;
    }
    const int last = std::min(rangeLast + 2, static_cast<int>(entries.size()) - 1);
    while (cursor <= last) {
        const int index = cursor++;
        const ImageEntry& entry = entries[static_cast<std::size_t>(index)];
        if (!entry.thumbnail.isNull() || entry.failed || taken.contains(index))
            continue;
        taken.insert(index);
        path = entry.path;
        return index;
    }
    return -1;
}

void ImageBrowser::ThumbnailPass()
{
    while (!closing && !abortListing) {
        int step = 1;
        QString path;
        const int index = TakeNextEntry(path);
        if (index < 0)
            return;
        QImage thumbnail;
        QSize dimensions;
        try {
            step = 2;
            if (path == kNoBackgroundPath) {
                thumbnail = QImage(kThumbnailSide, kThumbnailSide, QImage::Format_RGB32);
                thumbnail.fill(Qt::white);
            } else {
                ++decodes;
                thumbnail = makeThumbnail(path, dimensions);
            }
            step = 3;
        } catch (...) {
            thumbnailFailureStep = step;
            thumbnail = {};
        }
        StoreThumbnail(index, path, thumbnail, dimensions);
    }
}

void ImageBrowser::StoreThumbnail(int index, const QString& path, const QImage& thumbnail, QSize dimensions)
{
    const std::lock_guard guard(lock);
    taken.erase(index);
    if (index >= static_cast<int>(entries.size()) || entries[static_cast<std::size_t>(index)].path != path)
        return;
    ImageEntry& entry = entries[static_cast<std::size_t>(index)];
    // A file that cannot be decoded keeps an empty cell; the pass goes on with the next one.
    entry.failed = thumbnail.isNull();
    entry.thumbnail = thumbnail;
    entry.dimensions = dimensions;
}

} // namespace tvl
