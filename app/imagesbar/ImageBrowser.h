#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace tvl {

// One file the Images bar shows, or the closing "[No Background]" entry.
struct ImageEntry
{
    QString name;
    QString path;
    qint64 size = 0;
    QImage thumbnail;    // null until made
    QSize dimensions;    // the picture's own pixel size, once known
    bool failed = false; // the file could not be decoded; it keeps an empty cell
};

// Decodes one picture file for its thumbnail: the picture's own size in dimensions; a null image when the
// file cannot be decoded.
using ThumbnailMaker = std::function<QImage(const QString& path, QSize& dimensions)>;

// The bar's thumbnail maker: the image layer's scaled decode, fitted to ThumbnailSize and flattened over
// white.
QImage MakeThumbnail(const QString& path, QSize& dimensions);

// The Images bar's entry list and the workers that fill it: a listing worker that finds the files of a
// folder (entries appear as they are found, "[No Background]" last) and thumbnail workers that make the
// thumbnails of the visible range plus two, each taking the next entry nobody has taken. The
// user-interface thread polls; every access to the list is serialised by one lock and the workers never
// touch windows.
class ImageBrowser
{
public:
    static constexpr int kDefaultThumbnailWorkers = 2;

    explicit ImageBrowser(int thumbnailWorkers = kDefaultThumbnailWorkers,
                          ThumbnailMaker maker = MakeThumbnail);
    ~ImageBrowser();
    ImageBrowser(const ImageBrowser&) = delete;
    ImageBrowser& operator=(const ImageBrowser&) = delete;

    // Replaces the list by the image files of folder matching patterns (";"-separated). While a worker is
    // still busy the old listing is told to stop and false comes back: call again a little later.
    bool Browse(const QString& folder, const QString& patterns, bool subfolders);
    // Stops the listing early; the entries found so far stay.
    void StopListing() { abortListing = true; }
    // Lets thumbnails be made again once a stopped listing has ended.
    void ClearStop()
    {
        if (!listingBusy)
            abortListing = false;
    }

    bool Listing() const { return listingBusy; }
    bool MakingThumbnails() const { return thumbnailsBusy; }
    const QString& folder() const { return currentFolder; }

    int Count() const;
    // A copy of one entry (the thumbnail shares its pixels); an empty entry outside the list.
    ImageEntry Entry(int index) const;
    // Makes the thumbnails of entries first … last + 2 that have none, on the workers; a pass running for
    // another range starts again with the new one.
    void MakeThumbnails(int first, int last);
    // How many pictures have been decoded for thumbnails since the browser was made.
    int DecodeCount() const { return decodes; }
    int ThumbnailWorkers() const { return workerCount; }

    // An unexpected failure inside a worker, taken once by the user-interface thread to report: the
    // listing's, or the thumbnail pass's with the step it had reached; 0 when there was none.
    bool TakeListingFailure() { return listingFailed.exchange(false); }
    int TakeThumbnailFailureStep() { return thumbnailFailureStep.exchange(0); }

private:
    void ListFolder(QString folder, QString patterns, bool subfolders);
    void ThumbnailWorker();
    void ThumbnailPass();
    // The next entry of the range this pass should make, marked as taken; -1 when none is left.
    int TakeNextEntry(QString& path);
    void StoreThumbnail(int index, const QString& path, const QImage& thumbnail, QSize dimensions);
    void JoinWorkers();
    void JoinThumbnailWorkers();

    const int workerCount;
    const ThumbnailMaker makeThumbnail;
    mutable std::mutex lock;
    std::vector<ImageEntry> entries;
    // Guarded by lock: the range generation the workers' cursor belongs to, the cursor, and the entries a
    // worker is decoding now.
    int passGeneration = -1;
    int cursor = 0;
    std::set<int> taken;
    std::thread listingWorker;
    std::vector<std::thread> thumbnailWorkers;
    std::atomic<int> runningWorkers = 0;
    std::atomic<bool> listingFailed = false;
    std::atomic<int> thumbnailFailureStep = 0;
    std::atomic<bool> listingBusy = false;
    std::atomic<bool> thumbnailsBusy = false;
    std::atomic<bool> abortListing = false;
    std::atomic<bool> closing = false;
    std::atomic<int> rangeFirst = 0;
    std::atomic<int> rangeLast = -1;
    std::atomic<int> rangeGeneration = 0;
    std::atomic<int> decodes = 0;
    QString currentFolder;
};

} // namespace tvl
