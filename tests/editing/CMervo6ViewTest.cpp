#include "editing/CMervo6View.h"
#include "document/design/DesignDocument.h"
#include "images/CxImage.h"
#include "images/codecs/ImageCodecs.h"
#include "tests/render/SurfaceFixture.h"

#include <QApplication>
#include <QScrollBar>
#include <QThread>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

// The sample design: disc 1 with a picture as its whole background and a text.
void OpenSampleDesign(CMervo6View& view, DesignDocument& document, std::shared_ptr<CxImage> picture)
{
    test::SurfaceFixture f;
    view.SetStocks(f.disc, f.caseStock);
    document.BeginReplace();
    LabelDesign& design = document.MutableDesign();
    design.ReplaceItems(std::move(f.design.itemList));
    const CRichChild& disc = *design.FindCover(u"Disc 1");
    auto photo = test::MakeItem(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, u"1"_s, disc.left(), disc.top(),
                                disc.width(), disc.width());
    photo->bBackground(1);
    photo->image = std::move(picture);
    design.InsertItem(std::move(photo), design.IndexOf(u"Disc 1") + 2);
    auto text = test::MakeItem(u"Text 1"_s, u"Text"_s, u"Disc 1"_s, u"1"_s, disc.left() + 1000,
                               disc.top() + 500, 2000, 400);
    text->ReplaceText(u"Text\b"_s);
    text->fonts[0] = ItemFont{u"Arial"_s, 400, 400, 0};
    text->colors[0] = 0;
    design.InsertItem(std::move(text));
    document.EndReplace({u"Disc 1"_s, u"1"_s, u"Single"_s, u"Jewel"_s});
    view.resize(400, 300);
}

class CMervo6ViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto picture = std::make_shared<CxImage>();
        picture->Create(400, 400, 24, CXIMAGE_FORMAT_JPG);
        OpenSampleDesign(view, document, std::move(picture));
        view.show();
        QApplication::processEvents();
    }

    DesignDocument document;
    CMervo6View view{document};
};

TEST_F(CMervo6ViewTest, ScrollingAndExposingOnlyCopyTheBitmaps)
{
    ASSERT_GT(view.bitmaps().itemsDrawn(), 0);
    const int drawn = view.bitmaps().itemsDrawn();
    const int stretched = view.bitmaps().pictures().stretchCount();
    EXPECT_EQ(stretched, 1);
    ASSERT_GT(view.verticalScrollBar()->maximum(), 0) << "the Letter sheet scrolls in a small window";
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    view.viewport()->repaint();
    view.viewport()->repaint(QRect(10, 10, 50, 50));
    EXPECT_EQ(view.geometry().scrollPosition().y(), view.verticalScrollBar()->maximum() / 2);
    EXPECT_EQ(view.bitmaps().itemsDrawn(), drawn);
    EXPECT_EQ(view.bitmaps().pictures().stretchCount(), stretched);

    view.Redraw(nullptr, true);
    EXPECT_GT(view.bitmaps().itemsDrawn(), drawn);
    EXPECT_EQ(view.bitmaps().pictures().stretchCount(), stretched) << "same zoom, same stretched picture";
}

TEST_F(CMervo6ViewTest, GuidesGridAndSelectionOnlyRepaint)
{
    const int drawn = view.bitmaps().itemsDrawn();
    const int stretched = view.bitmaps().pictures().stretchCount();
    const QImage before = view.viewport()->grab().toImage();
    view.ApplyOptions({true, true, QSize(100, 100)});
    document.Select(u"Image(1)"_s);
    view.SetSelectionMarksOn(true);
    QApplication::processEvents();
    const QImage after = view.viewport()->grab().toImage();
    EXPECT_NE(after, before) << "the aids show";
    view.ApplyOptions({false, false, QSize(100, 100)});
    view.SetSelectionMarksOn(false);
    QApplication::processEvents();
    EXPECT_EQ(view.viewport()->grab().toImage(), before);
    EXPECT_EQ(view.bitmaps().itemsDrawn(), drawn);
    EXPECT_EQ(view.bitmaps().pictures().stretchCount(), stretched);
}

TEST_F(CMervo6ViewTest, AnEditRendersOnlyTheSurfacesItsItemLiesOn)
{
    const auto renders = [this] {
        std::array<int, kSurfaceCount> counts{};
        for (int i = 0; i < kSurfaceCount; ++i)
            counts[static_cast<size_t>(i)] = view.bitmaps().renders(i);
        return counts;
    };
    const auto before = renders();
    ASSERT_TRUE(document.MoveResize(u"Text 1"_s, QRect(1500, 1700, 2000, 400)));
    const auto after = renders();
    EXPECT_EQ(after[Disc1Surface], before[Disc1Surface] + 1);
    EXPECT_EQ(after[Disc2Surface], before[Disc2Surface]) << "disc 2 shares the sheet but not the item";
    EXPECT_EQ(after[FrontSurface], before[FrontSurface]);
    EXPECT_EQ(after[BackSurface], before[BackSurface]);

    // An edit on a surface of another sheet draws nothing until that sheet is shown.
    ASSERT_TRUE(document.MoveResize(u"Front Cover (Inside)"_s, QRect(600, 600, 2000, 2000)));
    EXPECT_EQ(renders(), after);
    document.Undo();
    document.Undo();
    EXPECT_EQ(renders()[Disc1Surface], after[Disc1Surface] + 1);
}

TEST_F(CMervo6ViewTest, ShowAndZoomCommands)
{
    EXPECT_EQ(view.geometry().currentSurface(), u"Disc 1"_s);
    EXPECT_EQ(view.geometry().zoom(), 6);
    EXPECT_FALSE(view.ZoomOut());
    const int before = view.bitmaps().pictures().stretchCount();
    EXPECT_TRUE(view.ZoomIn());
    EXPECT_EQ(view.geometry().zoom(), 8);
    EXPECT_EQ(view.bitmaps().pictures().stretchCount(), before + 1) << "a new zoom stretches again";
    while (view.ZoomIn()) {
    }
    // The limit depends on the screen resolution: the disc must still fit its 1080-pixel bitmap.
    const EdgeRect disc = view.geometry().GetItemSheetRect(*document.design().FindCover(u"Disc 1"), true);
    EXPECT_LE(disc.width(), 1080);
    EXPECT_GT(disc.width() * (view.geometry().zoom() + 2) / view.geometry().zoom(), 1080);

    // A larger surface cannot keep the disc's zoom: it comes down until the surface fits its bitmap.
    const int discZoom = view.geometry().zoom();
    view.ShowFrontCover();
    EXPECT_EQ(document.currentSurface(), u"Front Cover"_s);
    EXPECT_EQ(view.geometry().currentPageCode(), u"2"_s);
    EXPECT_LT(view.geometry().zoom(), discZoom);
    EXPECT_TRUE(view.geometry().SurfaceFitsBitmaps(document.design(), view.geometry().zoom(),
                                                   view.bitmaps().Sizes()));
    view.ShowBackCover();
    EXPECT_EQ(view.geometry().currentPageCode(), u"3"_s);
    view.ShowDisc2();
    EXPECT_EQ(view.geometry().currentSurface(), u"Disc 2"_s);
    EXPECT_EQ(view.geometry().currentPageCode(), u"1"_s);
}

// A surface shown after the zoom had to come down, scrolled to its far corner, looks exactly as it does in a
// view that showed it at that zoom from the start: no stale pixels of the earlier zoom remain.
TEST_F(CMervo6ViewTest, AZoomLimitedByTheSurfaceLeavesNoStalePixels)
{
    while (view.ZoomIn()) {
    }
    view.ShowFrontCover();
    QApplication::processEvents();
    const auto scrollToTheEnd = [](CMervo6View& v) {
        v.horizontalScrollBar()->setValue(v.horizontalScrollBar()->maximum());
        v.verticalScrollBar()->setValue(v.verticalScrollBar()->maximum());
        QApplication::processEvents();
        return v.viewport()->grab().toImage();
    };
    const QImage shown = scrollToTheEnd(view);

    CMervo6View fresh(document);
    fresh.SetStocks(test::SurfaceFixture().disc, test::SurfaceFixture().caseStock);
    fresh.resize(view.size());
    fresh.show();
    QApplication::processEvents();
    while (fresh.geometry().zoom() < view.geometry().zoom() && fresh.ZoomIn()) {
    }
    ASSERT_EQ(fresh.geometry().zoom(), view.geometry().zoom());
    ASSERT_EQ(fresh.geometry().currentSurface(), u"Front Cover"_s);
    EXPECT_EQ(scrollToTheEnd(fresh), shown);
}

// The grid step chosen for the view is the one drawn: a finer grid puts many more dots on the screen.
TEST_F(CMervo6ViewTest, TheGridStepChosenIsTheOneOnScreen)
{
    const auto gridPixels = [this](QSize step) {
        view.ApplyOptions({false, false, step});
        const QImage plain = view.viewport()->grab().toImage();
        view.ApplyOptions({false, true, step});
        const QImage grid = view.viewport()->grab().toImage();
        int differing = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x)
                differing += plain.pixel(x, y) != grid.pixel(x, y) ? 1 : 0;
        }
        return differing;
    };
    const int coarse = gridPixels(QSize(1000, 1000));
    const int fine = gridPixels(QSize(100, 100));
    EXPECT_GT(coarse, 0);
    EXPECT_GT(fine, coarse * 20);
}

// One wheel notch turned over the view, with the keys held.
void Wheel(CMervo6View& view, QPoint at, QPoint turn, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    QWheelEvent event(at, view.viewport()->mapToGlobal(at), QPoint(), turn, Qt::NoButton, keys,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &event);
}

TEST_F(CMervo6ViewTest, TheWheelScrollsATenthOfTheViewAndSidewaysWithShift)
{
    QScrollBar* down = view.verticalScrollBar();
    QScrollBar* across = view.horizontalScrollBar();
    ASSERT_GT(down->maximum(), 100);
    ASSERT_GT(across->maximum(), 50);
    const QSize client = view.viewport()->size();
    Wheel(view, QPoint(50, 50), QPoint(0, -120));
    EXPECT_EQ(down->value(), client.height() / 10);
    EXPECT_EQ(across->value(), 0);
    Wheel(view, QPoint(50, 50), QPoint(0, -240), Qt::ShiftModifier);
    EXPECT_EQ(across->value(), 2 * (client.width() / 10));
    EXPECT_EQ(down->value(), client.height() / 10);
    Wheel(view, QPoint(50, 50), QPoint(0, 120));
    EXPECT_EQ(down->value(), 0);
    EXPECT_EQ(view.geometry().scrollPosition(), QPoint(across->value(), 0));
    EXPECT_EQ(view.geometry().zoom(), 6) << "a plain wheel never zooms";
}

// Ctrl+wheel zooms by one step per notch and keeps the sheet point under the pointer where it was; a zoom
// about the window centre instead would move it by hundreds of mils.
TEST_F(CMervo6ViewTest, CtrlWheelZoomsAboutThePointer)
{
    std::vector<int> told;
    view.SetZoomListener([&told](int zoom) { told.push_back(zoom); });
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
    const QPoint pointer(90, 70);
    const QPoint before = view.geometry().WindowToPage(pointer);
    // One mil tolerance per screen pixel at the larger zoom, for the pixel rounding.
    const int pixelMils = static_cast<int>(view.geometry().unitsPerPixelX() / 0.8f) + 1;

    Wheel(view, pointer, QPoint(0, 60), Qt::ControlModifier);
    EXPECT_EQ(view.geometry().zoom(), 6) << "half a notch is no step yet";
    Wheel(view, pointer, QPoint(0, 60), Qt::ControlModifier);
    ASSERT_EQ(view.geometry().zoom(), 8);
    QPoint after = view.geometry().WindowToPage(pointer);
    EXPECT_NEAR(after.x(), before.x(), pixelMils);
    EXPECT_NEAR(after.y(), before.y(), pixelMils);
    EXPECT_NE(view.geometry().WindowToPage(QPoint(200, 150)), before);

    Wheel(view, pointer, QPoint(0, -120), Qt::ControlModifier);
    ASSERT_EQ(view.geometry().zoom(), 6);
    after = view.geometry().WindowToPage(pointer);
    EXPECT_NEAR(after.x(), before.x(), 2 * pixelMils);
    EXPECT_NEAR(after.y(), before.y(), 2 * pixelMils);
    Wheel(view, pointer, QPoint(0, -120), Qt::ControlModifier);
    EXPECT_EQ(view.geometry().zoom(), 6) << "the smallest zoom holds";
    EXPECT_EQ(told, (std::vector<int>{6, 8, 6}));
}

// Zoom to fit shows the current surface as large as the window allows, centred in it.
TEST_F(CMervo6ViewTest, ZoomToFitCentresTheLargestSurfaceThatFits)
{
    view.resize(800, 700);
    QApplication::processEvents();
    ASSERT_TRUE(view.ZoomToFit());
    const int zoom = view.geometry().zoom();
    const CRichChild& disc = *document.design().FindCover(u"Disc 1");
    const QRect shown = view.geometry().GetItemWindowRect(disc, true).toQRect();
    const QSize client = view.viewport()->size();
    EXPECT_GT(zoom, 6);
    EXPECT_LE(shown.height(), client.height() - 2 * ViewGeometry::kPageMargin);
    EXPECT_GT(shown.height() * (zoom + 2) / zoom, client.height() - 2 * ViewGeometry::kPageMargin)
        << "the next step would not fit";
    EXPECT_NEAR(shown.center().x(), client.width() / 2, 2);
    EXPECT_NEAR(shown.center().y(), client.height() / 2, 2);
    EXPECT_FALSE(view.ZoomToFit()) << "already fitted";

    view.resize(400, 300);
    QApplication::processEvents();
    ASSERT_TRUE(view.ZoomToFit());
    EXPECT_LT(view.geometry().zoom(), zoom);
    EXPECT_GE(view.geometry().zoom(), ViewGeometry::kSmallestZoom);
}

// Pixels of the view within a small distance of a colour.
int PixelsNear(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
                                 std::abs(qBlue(p) - qBlue(colour)) <=
                             24
                         ? 1
                         : 0;
        }
    }
    return count;
}

// A design holding a large photograph shows at once: the first paint happens before the photograph is
// decoded, which happens off the interface thread at the size the zoom needs; once it is ready the
// surface showing it is painted again with it. A new zoom shows the earlier copy until the new one comes.
// The photograph's full-size pixels are never decoded for the screen.
TEST(CMervo6ViewPhotographTest, TheViewShowsBeforeALargePhotographIsDecodedAndDrawsItWhenReady)
{
    const QRgb green = qRgb(32, 160, 64);
    CxImage source;
    ASSERT_TRUE(source.Create(3000, 3000, 24, CXIMAGE_FORMAT_JPG));
    for (int y = 0; y < source.Height(); ++y) {
        uchar* row = source.ScanLine(y);
        for (int x = 0; x < source.Width(); ++x) {
            row[3 * x] = uchar(qBlue(green));
            row[3 * x + 1] = uchar(qGreen(green));
            row[3 * x + 2] = uchar(qRed(green));
        }
    }
    QByteArray jpeg;
    ASSERT_TRUE(source.EncodeBuffer(jpeg, CXIMAGE_FORMAT_JPG));
    auto photograph = std::make_shared<CxImage>();
    ASSERT_TRUE(photograph->LoadBufferDeferred(jpeg, CXIMAGE_FORMAT_JPG));

    DesignDocument document;
    CMervo6View view{document};
    OpenSampleDesign(view, document, photograph);
    const int decodesBefore = ImageCodecs::decodeCount();
    view.show();
    const QImage first = view.viewport()->grab().toImage();
    const PictureCache& pictures = view.bitmaps().pictures();
    EXPECT_EQ(PixelsNear(first, green), 0) << "the first paint comes before the photograph";
    EXPECT_EQ(pictures.pendingCount(), 1);
    EXPECT_EQ(pictures.backgroundCount(), 0);
    const int discRenders = view.bitmaps().renders(Disc1Surface);

    for (int i = 0; i < 1000 && pictures.backgroundCount() == 0; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    ASSERT_EQ(pictures.backgroundCount(), 1);
    EXPECT_EQ(view.bitmaps().renders(Disc1Surface), discRenders + 1);
    const QImage ready = view.viewport()->grab().toImage();
    const int shown = PixelsNear(ready, green);
    EXPECT_GT(shown, first.width() * first.height() / 4) << "the photograph fills the disc in the view";
    EXPECT_EQ(ImageCodecs::decodeCount(), decodesBefore + 1) << "one reduced decode, in the background";
    EXPECT_TRUE(photograph->IsDeferred()) << "the full-size pixels were never decoded";

    ASSERT_TRUE(view.ZoomIn());
    EXPECT_GT(PixelsNear(view.viewport()->grab().toImage(), green), shown / 2)
        << "the earlier copy shows while the new zoom's copy is made";
    for (int i = 0; i < 1000 && pictures.backgroundCount() == 1; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    EXPECT_EQ(pictures.backgroundCount(), 2);
    EXPECT_EQ(pictures.pendingCount(), 0);
    EXPECT_TRUE(photograph->IsDeferred());
}

} // namespace
} // namespace tvl
