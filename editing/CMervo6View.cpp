#include "editing/CMervo6View.h"

#include "document/design/DesignDocument.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace tvl {
namespace {

// The selection frame's dashes move on this often (milliseconds).
constexpr int kSelectionMarksInterval = 75;
// Width in pixels of the inverted band around a picked surface.
constexpr int kPickedBand = 3;
// The caret shows and hides this often (milliseconds).
constexpr int kCaretBlinkInterval = 500;

} // namespace

CMervo6View::CMervo6View(DesignDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_document(document)
    , m_editor(document, EditorPorts())
{
    m_scene.design = &m_document.design();
    MakeBuiltInStock(m_discStock, u"Disc");
    MakeBuiltInStock(m_caseStock, u"Jewel");
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Label view"));
    m_verticalIBeam = MakeVerticalIBeam();
    m_marksTimer.setInterval(kSelectionMarksInterval);
    connect(&m_marksTimer, &QTimer::timeout, this, [this] { TickSelectionMarks(); });
    setAttribute(Qt::WA_InputMethodEnabled);
    m_caretTimer.setInterval(kCaretBlinkInterval);
    connect(&m_caretTimer, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        viewport()->update(m_textMarks);
    });
    m_document.AddListener(this);
    m_bitmaps.SetPictureReadyHandler([this](const CxImage* picture) { PictureReady(picture); });
    GuardPendingInput();
}

CMervo6View::~CMervo6View()
{
    m_document.RemoveListener(this);
}

void CMervo6View::SetStocks(const CLabelDim& discStock, const CLabelDim& caseStock)
{
    m_discStock = discStock;
    m_caseStock = caseStock;
}

void CMervo6View::ApplyOptions(const ViewOptions& options)
{
    m_snap = options.snap;
    if (m_scene.guidesOn == options.guides && m_scene.showGrid == options.grid &&
        m_scene.gridStep == options.gridStep)
        return;
    m_scene.guidesOn = options.guides;
    m_scene.showGrid = options.grid;
    m_scene.gridStep = options.gridStep;
    viewport()->update();
}

void CMervo6View::SyncScene()
{
    m_scene.discMode = m_document.discMode();
    m_scene.caseKind = m_document.caseKind();
    m_scene.discPositionMode = m_document.discPositionMode();
    m_scene.selectedItem = m_document.selectedName();
}

void CMervo6View::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (m_created)
        return;
    m_created = m_bitmaps.Create();
    m_geometry.SetScreenDpi(logicalDpiX(), logicalDpiY());
    m_geometry.SetClientSize(viewport()->size());
    ShowCurrentSurface();
}

void CMervo6View::SelectSurface(const QString& name)
{
    m_document.ShowSurface(name);
}

void CMervo6View::SurfaceShown()
{
    ShowCurrentSurface();
}

void CMervo6View::ShowCurrentSurface()
{
    SyncScene();
    const QString& surface = m_document.currentSurface();
    if (m_geometry.SelectSurface(m_document.design(), m_discStock, m_caseStock,
                                 surface.isEmpty() ? m_geometry.currentSurface() : surface)) {
        LimitZoomToSurface();
        SyncScrollBars();
        Rerender(SurfaceSet().set());
    }
    viewport()->update();
}

void CMervo6View::LimitZoomToSurface()
{
    if (!m_created)
        return;
    const int zoom = m_geometry.zoom();
    int fitting = zoom;
    while (fitting > ViewGeometry::kSmallestZoom &&
           !m_geometry.SurfaceFitsBitmaps(m_document.design(), fitting, m_bitmaps.Sizes()))
        fitting -= 2;
    if (fitting == zoom)
        return;
    m_geometry.SetZoom(fitting);
    m_bitmaps.DropPictureCache();
    m_geometry.UpdateScrollSizes(m_document.design());
    m_geometry.UpdatePageOrigin();
}

void CMervo6View::DesignChanged(const DesignChange& change)
{
    SyncScene();
    if (change.replaced) {
        // A design read or built in place of this one: nothing of the old selection or drag is left.
        m_hits.Forget();
        m_dragging = false;
        m_captured = false;
        m_dragMode = DragMode::None;
        m_feedback = QRect();
        m_handles = {};
        m_editor.Restart();
        SelectionChanged();
        ShowCurrentSurface();
        return;
    }
    Rerender(change.surfaces);
    TextMarksChanged();
    viewport()->update();
}

bool CMervo6View::ZoomIn()
{
    if (!m_geometry.ZoomIn(m_document.design(), m_bitmaps.Sizes()))
        return false;
    Rezoomed();
    return true;
}

bool CMervo6View::ZoomOut()
{
    if (!m_geometry.ZoomOut(m_document.design()))
        return false;
    Rezoomed();
    return true;
}

bool CMervo6View::ZoomToFit()
{
    if (!m_created || !m_geometry.ZoomToFit(m_document.design(), m_bitmaps.Sizes()))
        return false;
    Rezoomed();
    return true;
}

void CMervo6View::Rezoomed()
{
    m_bitmaps.DropPictureCache();
    SyncScrollBars();
    Rerender(SurfaceSet().set());
    viewport()->update();
}

void CMervo6View::wheelEvent(QWheelEvent* event)
{
    constexpr int notch = QWheelEvent::DefaultDeltasPerStep;
    const QPoint turn = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        m_wheelZoom += turn.y();
        const QPoint anchor = event->position().toPoint();
        bool zoomed = false;
        for (; m_wheelZoom >= notch; m_wheelZoom -= notch)
            zoomed |= m_geometry.ZoomInAbout(m_document.design(), m_bitmaps.Sizes(), anchor);
        for (; m_wheelZoom <= -notch; m_wheelZoom += notch)
            zoomed |= m_geometry.ZoomOutAbout(m_document.design(), anchor);
        if (zoomed)
            Rezoomed();
        event->accept();
        return;
    }
    // A plain wheel turns only vertically; Shift sends it sideways. A tilting wheel or a touchpad also
    // turns sideways on its own.
    QPoint along = turn;
    if ((event->modifiers() & Qt::ShiftModifier) && along.x() == 0)
        along = QPoint(along.y(), 0);
    const QSize client = viewport()->size();
    const auto scrollBy = [notch](QScrollBar* bar, int delta, int extent) {
        if (delta != 0)
            bar->setValue(bar->value() - delta * std::max(1, extent / 10) / notch);
    };
    scrollBy(horizontalScrollBar(), along.x(), client.width());
    scrollBy(verticalScrollBar(), along.y(), client.height());
    event->accept();
}

void CMervo6View::Redraw(const CRichChild* item, bool rerender)
{
    if (rerender)
        Rerender(SurfaceSet().set());
    if (!item) {
        viewport()->repaint();
        return;
    }
    const EdgeRect area = m_geometry.GetItemWindowRect(*item, true);
    m_partialArea = area.toQRect().adjusted(-12, -12, 12, 12);
    viewport()->repaint(m_partialArea);
    const bool duplicate = m_geometry.currentPageCode() == u"1" && !m_scene.IsDouble() &&
                           m_scene.discPositionMode == DiscPositionMode::DuplicateDisc &&
                           item->name != kDisc2;
    const CRichChild* disc1 = m_document.design().FindCover(kDisc1);
    const CRichChild* disc2 = m_document.design().FindCover(kDisc2);
    if (duplicate && item->pageCode == u"1" && disc1 && disc2) {
        const QPoint shift(disc2->left() - disc1->left(), disc2->top() - disc1->top());
        const EdgeRect moved = m_geometry.PageToDevice(
            {item->left() + shift.x(), item->top() + shift.y(), item->left() + shift.x() + item->width(),
             item->top() + shift.y() + (item->IsDiscSurface() ? item->width() : item->height())},
            true, true);
        m_partialArea = moved.toQRect().adjusted(-12, -12, 12, 12);
        viewport()->repaint(m_partialArea);
    }
    m_partialArea = QRect();
}

void CMervo6View::Rerender(SurfaceSet surfaces)
{
    if (!m_created || surfaces.none())
        return;
    m_bitmaps.Clear(m_scene, m_geometry, surfaces);
    m_bitmaps.Render(m_scene, m_geometry, surfaces);
}

void CMervo6View::PictureReady(const CxImage* picture)
{
    SurfaceSet surfaces;
    for (const auto& item : m_document.design().itemList) {
        if (item->kind == ItemKind::Image && item->image.get() == picture) {
            if (const int surface = SurfaceIndexOf(item->surface); surface >= 0)
                surfaces.set(static_cast<size_t>(surface));
        }
    }
    Rerender(surfaces);
    viewport()->update();
}

void CMervo6View::SyncScrollBars()
{
    m_syncing = true;
    const QSize client = viewport()->size();
    const QSize scroll = m_geometry.scrollSize();
    horizontalScrollBar()->setRange(0, std::max(0, scroll.width() - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, scroll.height() - client.height()));
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
    horizontalScrollBar()->setValue(m_geometry.scrollPosition().x());
    verticalScrollBar()->setValue(m_geometry.scrollPosition().y());
    m_geometry.SetScrollPosition(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
    m_syncing = false;
    // Every change of zoom ends here: limits, commands, the wheel, a new design.
    if (m_zoomListener && m_zoomShown != m_geometry.zoom()) {
        m_zoomShown = m_geometry.zoom();
        m_zoomListener(m_zoomShown);
    }
}

void CMervo6View::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    SheetPainter::Options options = m_paintOptions;
    options.partialRedraw = !m_partialArea.isNull();
    if (!m_created) {
        painter.fillRect(event->rect(), options.workspace);
        return;
    }
    // Each rectangle of the region on its own: a moving frame or the running selection marks only
    // copy the thin bands they cover.
    for (const QRect& area : event->region()) {
        SheetPainter::Paint(painter, area, m_scene, m_geometry, m_bitmaps, options);
        const EditingOverlay::Result result =
            m_overlay.Paint(painter, area, m_scene, m_geometry, m_printable);
        m_handles = result.handles;
        if (result.selectionMarksEnded) {
            m_scene.selectionMarksOn = false;
            m_marksTimer.stop();
        }
    }
    painter.setClipRegion(event->region());
    PaintSelectionFrame(painter);
    PaintPickedOutline(painter);
    // The cell lines stay while the caret blinks; where both fall on a pixel it is inverted once.
    const bool caretShown = m_caretOn || m_editor.GetSelection().start != m_editor.GetSelection().end;
    const QRegion inverted = caretShown ? m_textMarks.united(m_cellMarks) : m_cellMarks;
    if (!inverted.isEmpty()) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        for (const QRect& mark : inverted)
            painter.fillRect(mark, Qt::white);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (!m_feedback.isEmpty()) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        for (const QRect& band : FeedbackRegion(m_feedback))
            painter.fillRect(band, Qt::white);
    }
}

QRegion CMervo6View::PickedOutlineRegion() const
{
    const CRichChild* selected = m_document.Selected();
    if (!selected || selected->name != m_pickedOutline)
        return {};
    const QRect r = m_geometry.GetItemWindowRect(*selected, true).toQRect();
    return QRegion(r.adjusted(-kPickedBand, -kPickedBand, kPickedBand, kPickedBand))
        .subtracted(QRegion(r.adjusted(kPickedBand, kPickedBand, -kPickedBand, -kPickedBand)));
}

void CMervo6View::PaintPickedOutline(QPainter& painter) const
{
    const CRichChild* selected = m_document.Selected();
    if (!selected || selected->name != m_pickedOutline)
        return;
    const QRect r = m_geometry.GetItemWindowRect(*selected, true).toQRect();
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::white, kPickedBand));
    painter.setBrush(Qt::NoBrush);
    if (selected->IsDiscSurface())
        painter.drawEllipse(r);
    else
        painter.drawRect(r);
    painter.restore();
}

void CMervo6View::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_geometry.SetClientSize(viewport()->size());
    if (!m_created)
        return;
    m_geometry.UpdateScrollSizes(m_document.design());
    m_geometry.UpdatePageOrigin();
    SyncScrollBars();
}

void CMervo6View::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    m_geometry.SetScrollPosition(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
    viewport()->update();
}

} // namespace tvl
