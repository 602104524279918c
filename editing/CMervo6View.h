#pragma once

#include "document/design/DesignChange.h"
#include "document/model/SurfaceNames.h"
#include "editing/DragGeometry.h"
#include "editing/HitTest.h"
#include "editing/text/InPlaceEditor.h"
#include "render/surface/EditingOverlay.h"
#include "render/surface/SceneState.h"
#include "render/surface/SheetPainter.h"
#include "render/surface/SurfaceBitmaps.h"
#include "render/surface/ViewGeometry.h"
#include "stock/CLabelDim.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QList>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace tvl {

class DesignDocument;

// The text cursor turned a quarter, for text set at 90 or 270 degrees.
QCursor MakeVerticalIBeam();

// What the view shows besides the design, all from the settings.
struct ViewOptions
{
    bool guides = false;
    bool grid = false;
    QSize gridStep{100, 100};
    // Moves and resizes go along the grid.
    bool snap = false;
};

// CMervo6View is the label view: the window area that shows the sheet of the document's current surface
// at the current zoom. Every cover of the sheet is painted once into its off-screen bitmap; painting the
// window only copies the bitmaps and draws the editing aids over them, so scrolling, exposing, switching
// guides or the grid and moving the selection never draw an item again. The view follows the document: a
// change re-renders only the surfaces it touched that are on the shown sheet.
//
// The user picks items with the mouse (a click selects the smallest item under the pointer, clicking
// again at the same spot the next larger one), moves them by their border and resizes them by the eight
// handles of the selected item. While dragging only a frame follows the pointer; the release applies the
// new placement as one undo step. The arrow keys move the selected item by a grid step (with Shift by
// 10 mils) and Delete deletes it.
class CMervo6View final : public QAbstractScrollArea, private DesignListener
{
public:
    explicit CMervo6View(DesignDocument& document, QWidget* parent = nullptr);
    ~CMervo6View() override;

    const DesignDocument& document() const { return m_document; }
    const SceneState& scene() const { return m_scene; }
    const ViewGeometry& geometry() const { return m_geometry; }
    const SurfaceBitmaps& bitmaps() const { return m_bitmaps; }
    const std::array<QRect, 8>& handleRects() const { return m_handles; }

    // The label stocks whose sheets the view shows.
    void SetStocks(const CLabelDim& discStock, const CLabelDim& caseStock);
    // Guides, grid and grid step; they are editing aids, so the window is only repainted.
    void ApplyOptions(const ViewOptions& options);
    // Shows or hides the selection marks (the running frame and the handles) of the selected item.
    void SetSelectionMarksOn(bool on);
    bool selectionMarksOn() const { return m_scene.selectionMarksOn; }
    // The selected item first, then the linked text items that show the same album field.
    const QStringList& selection() const { return m_selection; }

    // Makes the item with the name the selected item; nothing when there is none.
    void SelectItem(const QString& name);
    // The item a click at the window point finds; repeated clicks at one spot cycle through the stack.
    QString HitTest(QPoint window);
    DragMode dragMode() const { return m_dragMode; }
    // The frame that follows the pointer while dragging, in window pixels; empty otherwise.
    QRect feedbackRect() const { return m_feedback; }

    // The context menu's Insert submenu is filled by the owner, told where in the sheet (mils) the menu
    // was opened; the further entries are the given actions (nullptr for a separator).
    void SetInsertMenuFiller(std::function<void(QMenu&, QPoint)> filler)
    {
        m_insertFiller = std::move(filler);
    }
    void SetContextMenuActions(QList<QAction*> actions) { m_contextActions = std::move(actions); }
    // Where the context menu was opened, in sheet mils, from its opening until shortly after it closed:
    // an Insert chosen from it places the new item there.
    std::optional<QPoint> ContextPoint() const;

    // Makes a surface of the document current; nothing when there is no such surface.
    void SelectSurface(const QString& name);
    void ShowFrontCover() { SelectSurface(kFrontCover.toString()); }
    void ShowBackCover() { SelectSurface(kBackCover.toString()); }
    void ShowDiscLabel() { SelectSurface(kDisc1.toString()); }
    void ShowDisc2() { SelectSurface(kDisc2.toString()); }
    bool ZoomIn();
    bool ZoomOut();
    // The largest zoom at which the shown surface fits the window, centred.
    bool ZoomToFit();
    // Told the zoom (tenths) whenever it changes.
    void SetZoomListener(std::function<void(int)> listener)
    {
        m_zoomListener = std::move(listener);
        m_zoomShown = m_geometry.zoom();
        if (m_zoomListener)
            m_zoomListener(m_zoomShown);
    }
    // The zoom (tenths) a new design starts at; the next surface shown is laid out at it.
    void SetZoom(int zoom)
    {
        m_geometry.SetZoom(zoom);
        m_bitmaps.DropPictureCache();
    }

    // The in-place editor of the selected text item.
    const InPlaceEditor& textEditor() const { return m_editor; }
    InPlaceEditor& textEditor() { return m_editor; }
    // The one-pixel lines (window pixels) that mark the track-list cell holding the selection's end.
    const QRegion& cellMarks() const { return m_cellMarks; }
    // Typed text not yet inserted goes in now. The window's commands (saving and printing among them)
    // call this first; a mouse press or shortcut anywhere in the program and the view losing the focus
    // do it on their own.
    void FlushPendingInput() { m_editor.FlushPending(); }
    // Told whenever the caret or the selection of the edited text moved (the tool bars show its format).
    void SetCaretListener(std::function<void()> listener) { m_caretListener = std::move(listener); }
    // Shows the tip about the last track of a list (once per run, unless turned off).
    void SetLastTrackTip(std::function<void()> tip) { m_lastTrackTip = std::move(tip); }

    // Shows the design's changes: with rerender the bitmaps are drawn again first; with an item only
    // its area of the window is repainted (and, for a duplicated disc 1, the same area on disc 2).
    void Redraw(const CRichChild* item, bool rerender);

private:
    void DesignChanged(const DesignChange& change) override;
    void SurfaceShown() override;
    void SelectionChanged() override;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;
    // The wheel scrolls by a tenth of the view per notch, sideways with Shift; with Ctrl it zooms about
    // the pointer.
    void wheelEvent(QWheelEvent* event) override;

    void SyncScene();
    void ShowCurrentSurface();
    // The largest zoom not above the current one at which the shown surface fits its bitmap.
    void LimitZoomToSurface();
    void Rerender(SurfaceSet surfaces);
    // A picture's screen copy came from the background: the surfaces showing it are painted again.
    void PictureReady(const CxImage* picture);
    void SyncScrollBars();
    // Shows the sheet at the zoom the geometry was just given.
    void Rezoomed();

    // Sets the drag mode and cursor from what lies under the pointer.
    void CursorFeedback(QPoint pos);
    void Press(QPoint pos, bool real);
    void Drag(QPoint pos);
    void Release(QPoint pos);
    // The bounds, minimum size, grid and picture proportions a drag of the item keeps to.
    DragRules RulesFor(const CRichChild& item) const;
    void MoveSelectedBy(int dx, int dy);
    void TickSelectionMarks();
    void PaintSelectionFrame(QPainter& painter) const;
    // The inverted band around a surface, boundary or page picked with the mouse, while it stays selected.
    void PaintPickedOutline(QPainter& painter) const;
    QRegion PickedOutlineRegion() const;
    // The window pixels of the running selection frame and of the feedback frame.
    QRegion SelectionFrameWindowRegion() const;
    QRegion FeedbackRegion(const QRect& frame) const;
    bool DirectToDiscSheet() const;
    // The in-place editor's view of the edited item: its line cells in window pixels, and the caret or
    // selected cells inverted over the bitmaps.
    InPlaceEditorPorts EditorPorts();
    std::vector<QRect> TextCellWindowRects() const;
    int TextCharIndexAt(QPoint window) const;
    QRegion TextMarksRegion() const;
    // One-pixel lines that mark the track-list cell holding the selection's end.
    QRegion TrackCellMarksRegion() const;
    void TextMarksChanged();
    void GuardPendingInput();

    DesignDocument& m_document;
    SceneState m_scene;
    ViewGeometry m_geometry;
    SurfaceBitmaps m_bitmaps;
    SheetPainter::Options m_paintOptions;
    PrintableAreas m_printable;
    EditingOverlay m_overlay;
    CLabelDim m_discStock;
    CLabelDim m_caseStock;
    std::array<QRect, 8> m_handles{};
    QRect m_partialArea;
    bool m_created = false;
    bool m_syncing = false;

    QStringList m_selection;
    HitCycler m_hits;
    bool m_snap = false;
    DragMode m_dragMode = DragMode::None;
    QPoint m_pressPoint;
    QPoint m_lastPoint;
    bool m_captured = false;
    bool m_dragging = false;
    bool m_rehit = false;
    EdgeRect m_startMils;
    EdgeRect m_dragMils;
    QRect m_feedback;
    // The surface, boundary or page last picked with the mouse: it has no handles, so its outline shows it.
    QString m_pickedOutline;
    QTimer m_marksTimer;
    int m_marksPhase = 0;
    bool m_menuOpen = false;
    QPoint m_contextPoint{-1, -1};
    QCursor m_verticalIBeam;
    std::function<void(QMenu&, QPoint)> m_insertFiller;
    QList<QAction*> m_contextActions;
    std::function<void(int)> m_zoomListener;
    int m_zoomShown = 0;
    // Ctrl+wheel turns not yet worth a zoom step (eighths of a degree).
    int m_wheelZoom = 0;
    InPlaceEditor m_editor;
    QTimer m_caretTimer;
    bool m_caretOn = true;
    QRegion m_textMarks;
    QRegion m_cellMarks;
    std::function<void()> m_lastTrackTip;
    std::function<void()> m_caretListener;
    // Watches the whole program for presses and shortcuts that come before the idle insertion.
    std::unique_ptr<QObject> m_pendingInputGuard;
};

} // namespace tvl
