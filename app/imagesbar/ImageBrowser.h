#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <mutex>
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

// The Images bar's entry list and the two workers that fill it: a listing worker that finds the files of a
// folder (entries appear as they are found, "[No Background]" last) and a thumbnail worker that makes the
// thumbnails of the visible range plus two. The user-interface thread polls; every access to the list is
// serialised by one lock and the workers never touch windows.
class ImageBrowser
{
public:
    ImageBrowser() = default;
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
    // Makes the thumbnails of entries first … last + 2 that have none, on the worker; a pass running for
    // another range starts again with the new one.
    void MakeThumbnails(int first, int last);
    // How many pictures have been decoded for thumbnails since the browser was made.
    int DecodeCount() const { return decodes; }

private:
    void ListFolder(QString folder, QString patterns, bool subfolders);
    void ThumbnailPass();
    void JoinWorkers();

    mutable std::mutex lock;
    std::vector<ImageEntry> entries;
    std::thread listingWorker;
    std::thread thumbnailWorker;
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

// Decodes a picture file for its thumbnail through the image layer's scaled path: the picture's own size
// in dimensions, and a thumbnail of ThumbnailSize flattened over white; a null image when the file cannot
// be decoded.
QImage MakeThumbnail(const QString& path, QSize& dimensions);

} // namespace tvl
