#include "app/imagesbar/ImageBrowser.h"
#include "app/imagesbar/ImageCells.h"
#include "app/imagesbar/ImageSearchDialog.h"
#include "app/imagesbar/ImagesBarSession.h"
#include "app/imagesbar/ImagesBarWidget.h"
#include "app/messages/ErrorReport.h"
#include "document/design/DesignDocument.h"
#include "editing/CMervo6View.h"
#include "tests/app/WindowRun.h"
#include "tests/editing/BlankDocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>

namespace tvl {
namespace {

void WritePicture(const QString& path, QSize size, QColor color = Qt::red)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(path));
}

// Runs the event loop until done answers true (or 10 s pass).
bool WaitFor(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

bool ThumbnailsSettled(const ImageBrowser& browser)
{
    if (browser.Listing())
        return false;
    for (int i = 0; i < browser.Count(); ++i) {
        const ImageEntry entry = browser.Entry(i);
        if (entry.thumbnail.isNull() && !entry.failed)
            return false;
    }
    return browser.Count() > 0;
}

TEST(ImageCellsTest, ThumbnailSizesFileSizesAndColumns)
{
    const struct
    {
        QSize image;
        QSize thumbnail;
    } sizes[] = {{{4000, 1000}, {110, 27}}, {{50, 40}, {50, 40}},   {{2000, 20}, {110, 10}},
                 {{1000, 4000}, {27, 110}}, {{110, 50}, {110, 50}}, {{20, 3000}, {10, 110}}};
    for (const auto& [image, thumbnail] : sizes)
        EXPECT_EQ(ThumbnailSize(image), thumbnail) << image.width() << " x " << image.height();

    EXPECT_EQ(FileSizeText(1536000), u"1.46 MB");
    EXPECT_EQ(FileSizeText(1022976), u"999 KB");
    EXPECT_EQ(FileSizeText(qint64{5} << 32), u"20480.00 MB");

    EXPECT_EQ(ColumnCount(300), 2);
    EXPECT_EQ(ColumnCount(220), 1);
    EXPECT_EQ(ColumnCount(226), 1);
    EXPECT_EQ(ColumnCount(227), 2);
    EXPECT_EQ(ColumnCount(50), 1);
    EXPECT_EQ(ColumnCount(351), 3);

    EXPECT_EQ(ImageTooltip(QStringLiteral("sea.jpg"), {4000, 3000}, 1536000, QStringLiteral("/p/h/sea.jpg")),
              u"sea.jpg\r\nDimensions: 4000 x 3000\r\nSize: 1.46 MB\r\nFolder: /p/h");
    EXPECT_EQ(ImageFilterPatterns(0), u"*.jpg;*.jpeg;*.bmp;*.dib;*.gif;*.tif;*.tiff;*.png;*.ico;*.wmf;*.emf");
    EXPECT_EQ(ImageFilterPatterns(1), u"*.jpg;*.jpeg");
    EXPECT_EQ(ImageFilterPatterns(7), u"*.wmf;*.emf");
}

TEST(ImageBrowserTest, ListsOneFolderWithNoBackgroundLastAndGoesOnPastUndecodableFiles)
{
    QTemporaryDir dir;
    WritePicture(dir.filePath(QStringLiteral("a-wide.png")), {400, 100});
    QFile broken(dir.filePath(QStringLiteral("b-broken.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture at all");
    broken.close();
    WritePicture(dir.filePath(QStringLiteral("c-small.png")), {50, 40});
    QFile other(dir.filePath(QStringLiteral("ignored.txt")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    WritePicture(dir.filePath(QStringLiteral("sub/d.png")), {30, 30});
    // A link back to the top would make an endless tree if followed.
    ASSERT_TRUE(QFile::link(dir.path(), dir.filePath(QStringLiteral("sub/loop"))));

    ImageBrowser browser;
    ASSERT_TRUE(browser.Browse(dir.path(), ImageFilterPatterns(0), false));
    ASSERT_TRUE(WaitFor([&] { return !browser.Listing(); }));
    ASSERT_EQ(browser.Count(), 4);
    QStringList names;
    for (int i = 0; i < 3; ++i)
        names.append(browser.Entry(i).name);
    names.sort();
    EXPECT_EQ(names, QStringList({QStringLiteral("a-wide.png"), QStringLiteral("b-broken.png"),
                                  QStringLiteral("c-small.png")}));
    EXPECT_EQ(browser.Entry(3).name, kNoBackgroundName);
    EXPECT_EQ(browser.Entry(3).path, kNoBackgroundPath);

    browser.MakeThumbnails(0, 3);
    ASSERT_TRUE(WaitFor([&] { return ThumbnailsSettled(browser) && !browser.MakingThumbnails(); }));
    for (int i = 0; i < 4; ++i) {
        const ImageEntry entry = browser.Entry(i);
        if (entry.name == u"a-wide.png") {
            EXPECT_EQ(entry.thumbnail.size(), QSize(110, 27));
            EXPECT_EQ(entry.dimensions, QSize(400, 100));
        } else if (entry.name == u"c-small.png") {
            EXPECT_EQ(entry.thumbnail.size(), QSize(50, 40));
        } else if (entry.name == u"b-broken.png") {
            EXPECT_TRUE(entry.failed);
        } else {
            EXPECT_EQ(entry.thumbnail.size(), QSize(110, 110));
            EXPECT_EQ(entry.thumbnail.pixel(5, 5), qRgb(255, 255, 255));
        }
    }
    // Thumbnails once made are kept: asking again decodes nothing.
    const int decodes = browser.DecodeCount();
    browser.MakeThumbnails(0, 3);
    ASSERT_TRUE(WaitFor([&] { return !browser.MakingThumbnails(); }));
    EXPECT_EQ(browser.DecodeCount(), decodes);

    bool started = false;
    ASSERT_TRUE(WaitFor(
        [&] { return started || (started = browser.Browse(dir.path(), QStringLiteral("*.png"), true)); }));
    ASSERT_TRUE(WaitFor([&] { return !browser.Listing(); }));
    EXPECT_EQ(browser.Count(), 5);
    EXPECT_EQ(browser.Entry(browser.Count() - 1).name, kNoBackgroundName);
}

TEST(ImageBrowserTest, BrowsingAgainWhileListingStopsTheOldListingFirst)
{
    QTemporaryDir dir;
    for (int folder = 0; folder < 40; ++folder) {
        const QString sub = QStringLiteral("f%1").arg(folder);
        ASSERT_TRUE(QDir(dir.path()).mkpath(sub + QStringLiteral("/x/y")));
        for (int file = 0; file < 25; ++file) {
            QFile empty(dir.filePath(QStringLiteral("%1/x/y/%2.png").arg(sub).arg(file)));
            ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
        }
    }
    QTemporaryDir other;
    WritePicture(other.filePath(QStringLiteral("one.png")), {20, 20});

    ImageBrowser browser;
    ASSERT_TRUE(browser.Browse(dir.path(), ImageFilterPatterns(0), true));
    // The first call only asks the running listing to stop.
    bool started = browser.Browse(other.path(), ImageFilterPatterns(0), false);
    ASSERT_TRUE(WaitFor(
        [&] { return started || (started = browser.Browse(other.path(), ImageFilterPatterns(0), false)); }));
    ASSERT_TRUE(WaitFor([&] { return !browser.Listing(); }));
    ASSERT_EQ(browser.Count(), 2);
    EXPECT_EQ(browser.Entry(0).name, u"one.png");
    EXPECT_EQ(browser.folder(), other.path());
}

TEST(ImagesBarWidgetTest, ScrollingBackOverMadeThumbnailsDecodesNothingAgain)
{
    QTemporaryDir dir;
    for (int i = 0; i < 40; ++i)
        WritePicture(dir.filePath(QStringLiteral("p%1.png").arg(i, 2, 10, QChar(u'0'))), {200, 150});
    ImagesBarWidget bar({});
    bar.resize(250, 400);
    bar.show();
    bar.Browse(dir.path(), QStringLiteral("*.png"), false);
    auto* scrollBar = bar.findChild<QScrollBar*>();
    ASSERT_NE(scrollBar, nullptr);
    const auto pageShown = [&] {
        const auto [first, last] =
            VisibleRange(bar.height(), bar.scrollPosition(), bar.columns(), bar.browser().Count());
        for (int index = first; index <= std::min(last, first + 5); ++index) {
            const ImageCell* cell = bar.CellFor(index);
            if (!cell || cell->entry().thumbnail.isNull())
                return false;
        }
        return true;
    };
    ASSERT_TRUE(WaitFor([&] { return !bar.browser().Listing() && scrollBar->isVisible() && pageShown(); }));
    // Down to the end and back, one page at a time: every page is made once.
    while (scrollBar->value() < scrollBar->maximum()) {
        scrollBar->setValue(scrollBar->value() + scrollBar->pageStep());
        ASSERT_TRUE(WaitFor(pageShown));
    }
    ASSERT_TRUE(WaitFor([&] { return !bar.browser().MakingThumbnails(); }));
    const int decodes = bar.browser().DecodeCount();
    EXPECT_EQ(decodes, 40);

    while (scrollBar->value() > 0) {
        scrollBar->setValue(scrollBar->value() - scrollBar->pageStep());
        ASSERT_TRUE(WaitFor(pageShown));
        ImageCell* cell = bar.CellFor(bar.scrollPosition() / kCellHeight * bar.columns());
        ASSERT_NE(cell, nullptr);
        cell->grab();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.browser().DecodeCount(), decodes);
}

TEST(ImageBrowserTest, TwoWorkersShareOnePassAndEachFileIsDecodedOnce)
{
    QTemporaryDir dir;
    for (int i = 0; i < 12; ++i)
        WritePicture(dir.filePath(QStringLiteral("p%1.png").arg(i)), {60, 60});
    std::mutex seenLock;
    QStringList seen;
    ImageBrowser browser(2, [&](const QString& path, QSize& dimensions) {
        {
            const std::lock_guard guard(seenLock);
            seen.append(path);
        }
        return MakeThumbnail(path, dimensions);
    });
    ASSERT_EQ(browser.ThumbnailWorkers(), 2);
    ASSERT_TRUE(browser.Browse(dir.path(), QStringLiteral("*.png"), false));
    ASSERT_TRUE(WaitFor([&] { return !browser.Listing(); }));
    browser.MakeThumbnails(0, browser.Count() - 1);
    ASSERT_TRUE(WaitFor([&] { return ThumbnailsSettled(browser) && !browser.MakingThumbnails(); }));
    seen.sort();
    EXPECT_EQ(seen.size(), 12);
    EXPECT_EQ(seen.removeDuplicates(), 0);
    EXPECT_EQ(browser.DecodeCount(), 12);
}

TEST(ImagesBarWidgetTest, AnUnexpectedFailureReportsItsNumberedErrorAndTheBarGoesOn)
{
    QTemporaryDir dir;
    WritePicture(dir.filePath(QStringLiteral("a.png")), {60, 60});
    WritePicture(dir.filePath(QStringLiteral("b.png")), {60, 60});
    QStringList reports;
    const ErrorPresenter previous = SetErrorPresenter([&](const QString& text) { reports.append(text); });
    {
        // A decoder that fails unexpectedly on one file.
        ImagesBarWidget bar({}, nullptr, 1, [](const QString& path, QSize& dimensions) {
            if (path.endsWith(u"a.png"))
                throw std::runtime_error("decoder broke");
            return MakeThumbnail(path, dimensions);
        });
        bar.resize(300, 400);
        bar.show();
        bar.Browse(dir.path(), QStringLiteral("*.png"), false);
        ASSERT_TRUE(WaitFor([&] { return ThumbnailsSettled(bar.browser()) && !reports.isEmpty(); }));
        EXPECT_EQ(reports, QStringList({QStringLiteral("Error 461 - Step: 2")}));
        for (int i = 0; i < 2; ++i) {
            const ImageEntry entry = bar.browser().Entry(i);
            EXPECT_EQ(entry.failed, entry.name == u"a.png") << entry.name.toStdString();
        }
    }
    SetErrorPresenter(previous);
}

TEST(ImagesBarWidgetTest, TooltipsStayWithinFourHundredPixels)
{
    QTemporaryDir dir;
    QString folder = dir.path();
    for (int depth = 0; depth < 6; ++depth)
        folder += QStringLiteral("/a-rather-long-folder-name-%1").arg(depth);
    ASSERT_TRUE(QDir().mkpath(folder));
    WritePicture(folder + QStringLiteral("/picture.png"), {300, 200});
    ImagesBarWidget bar({});
    bar.resize(300, 400);
    bar.show();
    bar.Browse(folder, QStringLiteral("*.png"), false);
    ASSERT_TRUE(WaitFor([&] { return bar.CellFor(0) && bar.CellFor(0)->toolTip().contains(u"Dimensions"); }));
    ImageCell* cell = bar.CellFor(0);
    QHelpEvent help(QEvent::ToolTip, QPoint(20, 20), cell->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(cell, &help);
    QWidget* tip = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->inherits("QTipLabel") && widget->isVisible())
                tip = widget;
        }
        return tip != nullptr;
    }));
    EXPECT_LE(tip->width(), 400);
    const QString shown = tip->property("text").toString();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("picture.png\nDimensions: 300 x 200\nSize: ")))
        << shown.toStdString();
    // Every part of the folder is still there, only broken into lines.
    EXPECT_EQ(QString(shown.section(QStringLiteral("Folder: "), 1)).remove(u'\n'), folder);
}

class ImagesBarSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WritePicture(pictures.filePath(QStringLiteral("wide.png")), {400, 100}, Qt::blue);
        WritePicture(pictures.filePath(QStringLiteral("small.png")), {50, 40});
        QFile text(pictures.filePath(QStringLiteral("notes.png")));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("plain words");
        text.close();
        run.store.WriteString(QStringLiteral("BrowseDefaultPath"), pictures.path());
        // The tip was seen in an earlier run.
        run.store.WriteNumber(QStringLiteral("bHelpImage"), 1);
        test::OpenBlankDesign(document, "Single");
        view = new CMervo6View(document);
        run.window.SetLabelView(view);
        run.window.resize(1200, 800);
        run.window.show();
        session = std::make_unique<ImagesBarSession>(run.window, document, *view, run.context);
        ASSERT_TRUE(WaitFor([&] { return ThumbnailsSettled(session->bar().browser()); }));
    }

    int PictureCount() const
    {
        int count = 0;
        for (const auto& item : document.design().itemList)
            count += item->kind == ItemKind::Image ? 1 : 0;
        return count;
    }

    QTemporaryDir dir;
    QTemporaryDir pictures;
    QStringList opened;
    // The document outlives the window and the view in it.
    DesignDocument document;
    test::WindowRun run{dir, &opened};
    CMervo6View* view = nullptr;
    std::unique_ptr<ImagesBarSession> session;
};

TEST_F(ImagesBarSessionTest, CellsCaptionsAndTooltips)
{
    ImagesBarWidget& bar = session->bar();
    run.window.ImagesBar()->widget()->resize(300, 640);
    ASSERT_TRUE(WaitFor([&] { return bar.columns() == 2 && bar.CellFor(3) != nullptr; }));
    EXPECT_EQ(run.window.ImagesBar()->windowTitle(), u"Images (3)");
    for (int i = 0; i < 3; ++i) {
        const ImageCell* cell = bar.CellFor(i);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->geometry(), QRect(i % 2 * 117, i / 2 * 132, 117, 132)) << i;
    }
    // "[No Background]" takes the rest of its row.
    const ImageCell* last = bar.CellFor(3);
    EXPECT_EQ(last->accessibleName(), kNoBackgroundName);
    EXPECT_EQ(last->geometry().topLeft(), QPoint(117, 132));
    EXPECT_EQ(last->geometry().right(), bar.width() - 1);

    ASSERT_TRUE(WaitFor([&] {
        for (int i = 0; i < 3; ++i) {
            if (bar.CellFor(i)->accessibleName() == u"wide.png")
                return bar.CellFor(i)->toolTip().contains(u"Dimensions");
        }
        return false;
    }));
    for (int i = 0; i < 3; ++i) {
        if (bar.CellFor(i)->accessibleName() == u"wide.png") {
            EXPECT_EQ(bar.CellFor(i)->toolTip(),
                      QStringLiteral("wide.png\r\nDimensions: 400 x 100\r\nSize: %1 KB\r\nFolder: %2")
                          .arg(QFileInfo(pictures.filePath(QStringLiteral("wide.png"))).size() / 1024)
                          .arg(pictures.path()));
        }
    }
}

TEST_F(ImagesBarSessionTest, ADroppedFileBecomesAPictureAtTheDropPointInOneUndoStep)
{
    const QString path = pictures.filePath(QStringLiteral("wide.png"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const CRichChild* cover = document.design().FindCover(document.currentSurface());
    ASSERT_NE(cover, nullptr);
    const EdgeRect onScreen = view->geometry().GetItemWindowRect(*cover, true);
    const QPoint at((onScreen.left + onScreen.right) / 2 + 30, (onScreen.top + onScreen.bottom) / 2 - 20);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    const int steps = document.history().stepCount();
    ASSERT_TRUE(WaitFor([&] { return PictureCount() == 1; }));
    EXPECT_EQ(document.history().stepCount(), steps + 1);
    const CRichChild* picture = document.Selected();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->imagePath, path);
    EXPECT_EQ(picture->bBackground(), 0);
    // Centred on the drop point, fitted into the 110 × 27 outline that followed the pointer.
    const QPoint centre = view->geometry().WindowToPage(at);
    EXPECT_NEAR(picture->left() + picture->width() / 2, centre.x(), 60);
    EXPECT_NEAR(picture->top() + picture->height() / 2, centre.y(), 60);
    const int outlineMils = view->geometry().WindowToPage(at + QPoint(110, 0)).x() - centre.x();
    EXPECT_NEAR(picture->width(), outlineMils, 60);
    EXPECT_NEAR(picture->width(), 4 * picture->height(), 8);
    EXPECT_TRUE(document.file().modified);
    document.Undo();
    EXPECT_EQ(PictureCount(), 0);

    // Released over the grey workspace beside the sheet: nothing is added.
    const QPoint outside(onScreen.left - 80, (onScreen.top + onScreen.bottom) / 2);
    ASSERT_GE(outside.x(), 0);
    EXPECT_FALSE(session->DropPicture(path, outside, false));
    EXPECT_EQ(PictureCount(), 0);

    // With Shift held the file becomes the background of the surface it lands on.
    QDropEvent shiftDrop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(view->viewport(), &enter);
    QCoreApplication::sendEvent(view->viewport(), &shiftDrop);
    ASSERT_TRUE(WaitFor([&] { return PictureCount() == 1; }));
    ASSERT_NE(document.Selected(), nullptr);
    EXPECT_NE(document.Selected()->bBackground(), 0);
    EXPECT_EQ(document.Selected()->surface, cover->name);
}

TEST_F(ImagesBarSessionTest, DoubleClickSetsTheBackgroundAndNoBackgroundRemovesIt)
{
    const QString surface = document.currentSurface();
    ASSERT_TRUE(session->SetBackground(pictures.filePath(QStringLiteral("wide.png"))));
    ASSERT_TRUE(session->SetBackground(pictures.filePath(QStringLiteral("small.png"))));
    // The second background replaces the first.
    ASSERT_EQ(PictureCount(), 1);
    const CRichChild* background = document.Selected();
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->imagePath, pictures.filePath(QStringLiteral("small.png")));
    EXPECT_NE(background->bBackground(), 0);
    EXPECT_EQ(background->surface, surface);

    const int steps = document.history().stepCount();
    EXPECT_TRUE(session->RemoveBackground());
    EXPECT_EQ(PictureCount(), 0);
    EXPECT_EQ(document.history().stepCount(), steps + 1);
    EXPECT_FALSE(session->RemoveBackground());
    document.Undo();
    EXPECT_EQ(PictureCount(), 1);
}

TEST_F(ImagesBarSessionTest, CopyImagePutsTheFittedPictureOnTheClipboard)
{
    const QString big = pictures.filePath(QStringLiteral("big.png"));
    WritePicture(big, {2400, 1200}, Qt::green);
    ASSERT_TRUE(session->CopyImage(big));
    const QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(1000, 500));
    EXPECT_EQ(copied.pixel(500, 250), QColor(Qt::green).rgb());

    QImage clear(40, 20, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const QString seeThrough = pictures.filePath(QStringLiteral("clear.png"));
    ASSERT_TRUE(clear.save(seeThrough));
    ASSERT_TRUE(session->CopyImage(seeThrough));
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(40, 20));
    EXPECT_EQ(QApplication::clipboard()->image().pixel(10, 10), qRgb(255, 255, 255));
}

TEST_F(ImagesBarSessionTest, ImageSearchFillsTheBarAndCountsWhatItFound)
{
    QTemporaryDir other;
    WritePicture(other.filePath(QStringLiteral("one.jpg")), {30, 20});
    WritePicture(other.filePath(QStringLiteral("two.png")), {30, 20});
    ImageSearchDialog* search = session->OpenSearch();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(session->OpenSearch(), search);
    EXPECT_EQ(search->caption(), u" Click on a folder to start your search.");

    search->ChooseFolder(other.path());
    EXPECT_EQ(search->closeButton()->text(), u"Stop Search");
    ASSERT_TRUE(WaitFor([&] { return search->caption() == u" 2 Images Found"; }))
        << search->caption().toStdString();
    EXPECT_EQ(session->bar().browser().folder(), other.path());
    ASSERT_TRUE(WaitFor([&] { return search->closeButton()->text() == u"Close"; }));

    // Only JPEG files: one picture.
    auto* types = search->findChild<QComboBox*>();
    ASSERT_NE(types, nullptr);
    types->setCurrentIndex(1);
    ASSERT_TRUE(WaitFor([&] { return search->caption() == u" 1 Image Found"; }))
        << search->caption().toStdString();
    EXPECT_EQ(run.store.Number(QStringLiteral("BrowseFilter")), 1);
    EXPECT_EQ(session->bar().browser().Entry(0).name, u"one.jpg");

    const QList<QCheckBox*> boxes = search->findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 2);
    QCheckBox* setDefault = boxes[1];
    EXPECT_TRUE(setDefault->isEnabled());
    setDefault->setChecked(true);
    EXPECT_EQ(run.store.String(QStringLiteral("BrowseDefaultPath")), other.path());
    EXPECT_FALSE(setDefault->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return search->closeButton()->text() == u"Close"; }));
    search->closeButton()->click();
    EXPECT_FALSE(search->isVisible());
}

TEST_F(ImagesBarSessionTest, AFileThatIsNoPictureAddsNothing)
{
    const int steps = document.history().stepCount();
    bool told = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            told = true;
            box->close();
        }
    });
    closer.start(20);
    EXPECT_FALSE(session->DropPicture(pictures.filePath(QStringLiteral("notes.png")), {200, 200}, false));
    EXPECT_TRUE(told);
    EXPECT_EQ(PictureCount(), 0);
    EXPECT_EQ(document.history().stepCount(), steps);
    EXPECT_FALSE(run.request.text.isEmpty());
}

} // namespace
} // namespace tvl
