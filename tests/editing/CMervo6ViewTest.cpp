#include "editing/CMervo6View.h"
#include "images/CxImage.h"
#include "tests/render/SurfaceFixture.h"

#include <QApplication>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

class CMervo6ViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::SurfaceFixture f;
        view.SetStocks(f.disc, f.caseStock);
        view.design().ReplaceItems(std::move(f.design.itemList));
        const CRichChild& disc = *view.design().FindCover(u"Disc 1");
        auto photo = test::MakeItem(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, u"1"_s, disc.left(), disc.top(),
                                    disc.width(), disc.width());
        photo->bBackground(1);
        photo->image = std::make_shared<CxImage>();
        photo->image->Create(400, 400, 24, CXIMAGE_FORMAT_JPG);
        view.design().InsertItem(std::move(photo), view.design().IndexOf(u"Disc 1") + 2);
        view.resize(400, 300);
        view.show();
        QApplication::processEvents();
    }

    CMervo6View view;
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
    view.SetGuidesOn(true);
    view.SetShowGrid(true);
    view.SetSelectedItem(u"Image(1)"_s);
    view.SetSelectionMarksOn(true);
    QApplication::processEvents();
    const QImage after = view.viewport()->grab().toImage();
    EXPECT_NE(after, before) << "the aids show";
    view.SetGuidesOn(false);
    view.SetShowGrid(false);
    view.SetSelectionMarksOn(false);
    QApplication::processEvents();
    EXPECT_EQ(view.viewport()->grab().toImage(), before);
    EXPECT_EQ(view.bitmaps().itemsDrawn(), drawn);
    EXPECT_EQ(view.bitmaps().pictures().stretchCount(), stretched);
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
    const EdgeRect disc = view.geometry().GetItemSheetRect(*view.design().FindCover(u"Disc 1"), true);
    EXPECT_LE(disc.width(), 1080);
    EXPECT_GT(disc.width() * (view.geometry().zoom() + 2) / view.geometry().zoom(), 1080);

    view.ShowBackCover();
    EXPECT_EQ(view.geometry().currentPageCode(), u"3"_s);
    view.ShowFrontCover();
    EXPECT_EQ(view.geometry().currentPageCode(), u"2"_s);
    view.ShowDisc2();
    EXPECT_EQ(view.geometry().currentSurface(), u"Disc 2"_s);
    EXPECT_EQ(view.geometry().currentPageCode(), u"1"_s);
}

} // namespace
} // namespace tvl
