// Typing album data: one keystroke into the Artist field of a jewel design with six linked Artist items
// and a 99-track "Table Format" list with AutoFit (model update, layout of the changed items and
// re-render of the surfaces they lie on, to the repainted view at zoom 100 %), one keystroke into a title
// cell of that list, one key typed on the label, and a caret move and a selection change (which must render
// nothing). The same two keystrokes typed into the Text Editor bar's Artist box and grid cell editor.
#include "document/design/DesignDocument.h"
#include "document/design/TrackListEdits.h"
#include "editing/CMervo6View.h"
#include "editing/texteditorbar/GrowingTextBox.h"
#include "editing/texteditorbar/TextEditorBar.h"
#include "editing/texteditorbar/TrackGrid.h"
#include "tests/render/SurfaceFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

QString NinetyNineTracks()
{
    QString value;
    for (int n = 1; n <= 99; ++n)
        value += u"%1. \bSong number %1\b 3:%2\b"_s.arg(n).arg(n % 60, 2, 10, QLatin1Char('0'));
    return value;
}

struct AlbumScene
{
    DesignDocument document;
    CMervo6View view{document};

    AlbumScene()
    {
        test::SurfaceFixture f(u"Jewel", u"Single");
        view.SetStocks(f.disc, f.caseStock);
        f.design.albumHeader.Field(0, AlbumField::Artist) = u"The Artist\b"_s;
        f.design.albumHeader.Field(0, AlbumField::TrackList) = NinetyNineTracks();
        const std::pair<const char16_t*, int> artists[] = {{u"Front Cover", 0}, {u"Front Cover", 1},
                                                           {u"Back Cover", 0},  {u"Back Cover", 1},
                                                           {u"Disc 1", 0},      {u"Disc 1", 1}};
        int serial = 1;
        for (const auto& [surface, row] : artists) {
            const CRichChild& cover = *f.design.FindCover(QStringView(surface));
            CRichChild& artist = f.Add(u"Artist(%1)"_s.arg(serial++), u"Text"_s, QString::fromUtf16(surface),
                                       cover.left() + 300, cover.top() + 300 + row * 600, 2500, 500);
            artist.bLinkText(1);
            artist.ReplaceText(u"The Artist\b"_s);
            artist.fonts[0] = ItemFont{u"Liberation Sans"_s, 240, 700, 0};
            artist.colors[0] = 0;
        }
        const CRichChild& back = *f.design.FindCover(u"Back Cover");
        CRichChild& tracks = f.Add(u"Track List(1)"_s, u"Track"_s, u"Back Cover"_s, back.left() + 800,
                                   back.top() + 1200, back.width() - 1600, back.height() - 1500);
        tracks.bLinkText(1);
        tracks.bAutoFit(1);
        tracks.textLayout(u"Table Format"_s);
        tracks.trackNumbers(u"Track Numbers && Times"_s);
        tracks.wrapStyle(u"Single-Line"_s);
        tracks.ReplaceText(NinetyNineTracks());
        tracks.fonts[0] = ItemFont{u"Liberation Sans"_s, 100, 400, 0};
        tracks.colors[0] = 0;
        document.BeginReplace();
        document.MutableDesign().ReplaceItems(std::move(f.design.itemList));
        document.MutableDesign().albumHeader = f.design.albumHeader;
        document.EndReplace({u"Back Cover"_s, u"3"_s, u"Single"_s, u"Jewel"_s});
        view.SetZoom(10);
        view.resize(1400, 1100);
        view.show();
        QApplication::processEvents();
    }

    void Key(int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&view, &event);
    }
};

void BM_ArtistKeystroke(benchmark::State& state)
{
    AlbumScene scene;
    QString artist = u"The Artist"_s;
    for (auto _ : state) {
        artist += artist.size() > 60 ? u""_s : u"x"_s;
        if (artist.size() > 60)
            artist = u"The Artist"_s;
        scene.document.SetAlbumField(u"Artist"_s, artist + QChar(0x08));
        scene.view.viewport()->repaint();
    }
}
BENCHMARK(BM_ArtistKeystroke)->Unit(benchmark::kMillisecond);

void BM_TrackCellKeystroke(benchmark::State& state)
{
    AlbumScene scene;
    QString title = u"Song number 50"_s;
    for (auto _ : state) {
        title = title.size() > 40 ? u"Song number 50"_s : title + u"y"_s;
        SetTrackCell(scene.document, u"Track List"_s, 50, 2, title);
        scene.view.viewport()->repaint();
    }
}
BENCHMARK(BM_TrackCellKeystroke)->Unit(benchmark::kMillisecond);

void BM_KeyTypedOnTheLabel(benchmark::State& state)
{
    AlbumScene scene;
    scene.document.Select(u"Artist(3)"_s);
    QApplication::processEvents();
    scene.Key(Qt::Key_End);
    for (auto _ : state) {
        scene.Key(Qt::Key_A, u"a"_s);
        QApplication::processEvents();
        scene.view.viewport()->repaint();
        state.PauseTiming();
        scene.Key(Qt::Key_Backspace);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_KeyTypedOnTheLabel)->Unit(benchmark::kMillisecond);

void BM_CaretMove(benchmark::State& state)
{
    AlbumScene scene;
    scene.document.Select(u"Track List(1)"_s);
    QApplication::processEvents();
    const int renders = scene.view.bitmaps().renders(BackSurface);
    bool right = true;
    for (auto _ : state) {
        scene.Key(right ? Qt::Key_Right : Qt::Key_Left);
        scene.view.viewport()->repaint();
        right = !right;
    }
    state.counters["renders"] = scene.view.bitmaps().renders(BackSurface) - renders;
}
BENCHMARK(BM_CaretMove)->Unit(benchmark::kMillisecond);

// Shift with the arrows grows and shrinks a selection across two cells (whole cells); nothing renders.
void BM_SelectionChange(benchmark::State& state)
{
    AlbumScene scene;
    scene.document.Select(u"Track List(1)"_s);
    QApplication::processEvents();
    const int renders = scene.view.bitmaps().renders(BackSurface);
    bool grow = true;
    for (auto _ : state) {
        scene.Key(grow ? Qt::Key_Down : Qt::Key_Up, {}, Qt::ShiftModifier);
        scene.view.viewport()->repaint();
        grow = !grow;
    }
    state.counters["renders"] = scene.view.bitmaps().renders(BackSurface) - renders;
}
BENCHMARK(BM_SelectionChange)->Unit(benchmark::kMillisecond);

// Types a letter into a box of the bar, then takes it out again outside the timing.
void TypeIntoBar(benchmark::State& state, AlbumScene& scene, QWidget& box)
{
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, u"x"_s);
        QApplication::sendEvent(&box, &key);
        scene.view.viewport()->repaint();
        state.PauseTiming();
        QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(&box, &back);
        scene.view.viewport()->repaint();
        state.ResumeTiming();
    }
}

void BM_ArtistBoxKeystroke(benchmark::State& state)
{
    AlbumScene scene;
    TextEditorBar bar(scene.document, {});
    bar.resize(260, 900);
    bar.show();
    GrowingTextBox* artist = nullptr;
    for (GrowingTextBox* box : bar.findChildren<GrowingTextBox*>()) {
        if (box->accessibleName() == u"Artist")
            artist = box;
    }
    artist->moveCursor(QTextCursor::End);
    TypeIntoBar(state, scene, *artist);
}
BENCHMARK(BM_ArtistBoxKeystroke)->Unit(benchmark::kMillisecond);

void BM_GridCellKeystroke(benchmark::State& state)
{
    AlbumScene scene;
    TextEditorBar bar(scene.document, {});
    bar.resize(260, 900);
    bar.show();
    bar.grid().EditCell(50, 2);
    bar.grid().cellEditor().moveCursor(QTextCursor::End);
    TypeIntoBar(state, scene, bar.grid().cellEditor());
}
BENCHMARK(BM_GridCellKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tvl
