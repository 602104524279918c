// The label view's selecting, moving and resizing by mouse and keyboard, and its context menu.
#include "editing/CMervo6View.h"

#include "document/design/DesignDocument.h"
#include "document/design/ItemGeometry.h"
#include "images/CxImage.h"
#include "render/surface/DeviceRect.h"
#include "render/surface/PixelOverlays.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace tvl {
namespace {

// Handles are easier to catch than they are drawn, and an item can be taken by its border.
constexpr int kHandleSlack = 5;
constexpr int kMoveZone = 12;
constexpr int kContextPointLife = 100;
constexpr int kFineStep = 10;

Qt::CursorShape HandleCursor(DragMode mode)
{
    switch (mode) {
    case DragMode::Top:
    case DragMode::Bottom:
        return Qt::SizeVerCursor;
    case DragMode::Left:
    case DragMode::Right:
        return Qt::SizeHorCursor;
    case DragMode::TopLeft:
    case DragMode::BottomRight:
        return Qt::SizeFDiagCursor;
    default:
        return Qt::SizeBDiagCursor;
    }
}

bool Upright(const CRichChild& item)
{
    return item.angle().isEmpty() || item.angle() == u"0 degrees" || item.angle() == u"180 degrees";
}

EdgeRect ItemMils(const CRichChild& item)
{
    const QRect r = item.Rect();
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

// The part of a linked item's name that names its album field: "Artist" of "Artist(2)".
QStringView FieldStem(const QString& name)
{
    const qsizetype bracket = name.indexOf(u'(');
    return bracket < 0 ? QStringView(name) : QStringView(name).left(bracket);
}

} // namespace

QCursor MakeVerticalIBeam()
{
    // The text cursor turned a quarter: a horizontal stem with a short bar across each end.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    for (const QColor& colour : {QColor(Qt::white), QColor(Qt::black)}) {
        painter.setPen(QPen(colour, colour == Qt::white ? 3 : 1));
        painter.drawLine(8, 16, 24, 16);
        painter.drawLine(8, 12, 8, 20);
        painter.drawLine(24, 12, 24, 20);
    }
    painter.end();
    return QCursor(pixmap, 16, 16);
}

void CMervo6View::SelectItem(const QString& name)
{
    if (m_document.design().FindItem(name))
        m_document.Select(name);
}

void CMervo6View::SelectionChanged()
{
    // Text typed into the item before goes in there; the new item starts with a fresh caret.
    m_editor.FlushPending();
    m_editor.Restart();
    m_selection.clear();
    const CRichChild* selected = m_document.Selected();
    if (selected) {
        m_selection.append(selected->name);
        if (selected->IsTextual() && selected->bLinkText() != 0) {
            const QStringView stem = FieldStem(selected->name);
            for (const auto& item : m_document.design().itemList) {
                if (item.get() != selected && item->IsTextual() && item->bLinkText() != 0 &&
                    FieldStem(item->name) == stem)
                    m_selection.append(item->name);
            }
        }
        // The sheet of the selected item shows; a page is on every sheet's list and changes nothing.
        if (selected->kind != ItemKind::Page && !selected->surface.isEmpty() &&
            selected->surface != m_document.currentSurface())
            m_document.ShowSurface(selected->surface);
    }
    SyncScene();
    SetSelectionMarksOn(selected && !IsStructural(selected->kind));
    if (!m_pickedOutline.isEmpty() && (!selected || selected->name != m_pickedOutline)) {
        m_pickedOutline.clear();
        viewport()->update();
    }
}

QString CMervo6View::HitTest(QPoint window)
{
    return m_hits.Hit(m_document.design(), m_geometry, window, m_document.selectedName(),
                      DirectToDiscSheet());
}

bool CMervo6View::DirectToDiscSheet() const
{
    return m_geometry.currentPageCode() == u"1" && m_discStock.IsDirectToDisc();
}

std::optional<QPoint> CMervo6View::ContextPoint() const
{
    if (m_contextPoint.x() < 0 || m_contextPoint.y() < 0)
        return std::nullopt;
    return m_geometry.WindowToPage(m_contextPoint);
}

void CMervo6View::SetSelectionMarksOn(bool on)
{
    const CRichChild* selected = m_document.Selected();
    const bool run = on && selected && !IsStructural(selected->kind);
    if (m_scene.selectionMarksOn == on && m_marksTimer.isActive() == run)
        return;
    m_scene.selectionMarksOn = on;
    if (run)
        m_marksTimer.start();
    else
        m_marksTimer.stop();
    viewport()->update();
}

void CMervo6View::TickSelectionMarks()
{
    m_marksPhase = (m_marksPhase + 1) % 6;
    viewport()->update(SelectionFrameWindowRegion());
}

QRegion CMervo6View::SelectionFrameWindowRegion() const
{
    const QPoint shift = m_geometry.scrollPosition() + m_geometry.pageOrigin();
    return SelectionFrameRegion(m_scene, m_geometry).translated(-shift);
}

QRegion CMervo6View::FeedbackRegion(const QRect& frame) const
{
    QRegion region;
    if (frame.isEmpty())
        return region;
    for (const QRect& r : ItemGuideFrame(EdgeRect::fromQRect(frame)))
        region += r;
    return region;
}

void CMervo6View::PaintSelectionFrame(QPainter& painter) const
{
    const CRichChild* selected = m_document.Selected();
    if (!m_scene.selectionMarksOn || m_dragging || !selected || IsStructural(selected->kind))
        return;
    const QRect r = m_geometry.GetItemWindowRect(*selected, true).toQRect();
    std::vector<QRect> outlines{QRect(r.left() - 1, r.top() - 1, r.width() + 1, r.height() + 1)};
    if (selected->kind == ItemKind::Image)
        outlines.emplace_back(r.left(), r.top(), r.width() - 1, r.height() - 1);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    QPen white(Qt::white, 1);
    white.setCosmetic(true);
    QPen dashes(Qt::black, 1);
    dashes.setCosmetic(true);
    // Three black pixels, three white, running around the item as the phase advances.
    dashes.setDashPattern({3.0, 3.0});
    dashes.setDashOffset(6 - m_marksPhase);
    for (const QRect& outline : outlines) {
        painter.setPen(white);
        painter.drawRect(outline);
        painter.setPen(dashes);
        painter.drawRect(outline);
    }
    painter.restore();
}

DragRules CMervo6View::RulesFor(const CRichChild& item) const
{
    DragRules rules;
    rules.snap = m_snap;
    rules.grid = m_scene.gridStep;
    rules.image = item.kind == ItemKind::Image;
    if (const CRichChild* cover = m_document.design().FindCover(item.surface))
        rules.bounds = ItemMils(*cover);
    if (rules.image && item.bAspectRatio() != 0 && item.image && item.image->IsValid())
        rules.lockedPicture = QSize(item.image->Width(), item.image->Height());
    return rules;
}

void CMervo6View::CursorFeedback(QPoint pos)
{
    m_dragMode = DragMode::None;
    Qt::CursorShape shape = Qt::ArrowCursor;
    bool verticalText = false;
    const CRichChild* selected = m_document.Selected();
    if (selected && !IsStructural(selected->kind) && viewport()->rect().contains(pos)) {
        const QPoint shift = m_geometry.scrollPosition() + m_geometry.pageOrigin();
        const QRect window = m_geometry.GetItemWindowRect(*selected, true).toQRect();
        if (m_scene.selectionMarksOn) {
            for (size_t i = 0; i < m_handles.size(); ++i) {
                const QRect handle = m_handles[i].translated(-shift).adjusted(-kHandleSlack, -kHandleSlack,
                                                                              kHandleSlack, kHandleSlack);
                if (!m_handles[i].isNull() && handle.contains(pos)) {
                    m_dragMode = kHandleModes[i];
                    shape = HandleCursor(m_dragMode);
                    break;
                }
            }
        }
        if (m_dragMode == DragMode::None && selected->IsTextual() && window.contains(pos)) {
            m_dragMode = DragMode::Select;
            shape = Qt::IBeamCursor;
            verticalText = !Upright(*selected);
        } else if (m_dragMode == DragMode::None &&
                   window.adjusted(-kMoveZone, -kMoveZone, kMoveZone, kMoveZone).contains(pos)) {
            m_dragMode = DragMode::Move;
            shape = Qt::SizeAllCursor;
        }
    }
    if (verticalText)
        viewport()->setCursor(m_verticalIBeam);
    else
        viewport()->setCursor(shape);
}

void CMervo6View::Press(QPoint pos, bool real)
{
    m_pressPoint = m_lastPoint = pos;
    m_feedback = QRect();
    m_dragging = false;
    m_captured = real;
    if (m_dragMode == DragMode::None || m_rehit) {
        m_rehit = false;
        m_dragMode = DragMode::None;
        QString hit = HitTest(pos);
        if (hit.isEmpty())
            return;
        // The second disc of a single-disc design is disc 1's other place: disc 1 moves there.
        if (!m_scene.IsDouble() && hit == kDisc2) {
            hit = kDisc1.toString();
            if (!DirectToDiscSheet() && m_document.discPositionMode() != DiscPositionMode::DuplicateDisc)
                SwapDiscPositions(m_document);
        }
        SelectItem(hit);
        const CRichChild* item = m_document.Selected();
        m_pickedOutline = item && IsStructural(item->kind) ? item->name : QString();
        viewport()->update(PickedOutlineRegion());
        if (item && item->IsTextual()) {
            m_dragMode = DragMode::Select;
            viewport()->setCursor(Upright(*item) ? QCursor(Qt::IBeamCursor) : m_verticalIBeam);
        }
    }
    const CRichChild* item = m_document.Selected();
    if (!item || !real || m_dragMode == DragMode::None || m_dragMode == DragMode::Select)
        return;
    m_dragging = true;
    SetSelectionMarksOn(false);
    m_startMils = m_dragMils = ItemMils(*item);
    m_feedback = m_geometry.GetItemWindowRect(*item, true).toQRect();
    viewport()->update(FeedbackRegion(m_feedback));
}

void CMervo6View::Drag(QPoint pos)
{
    m_lastPoint = pos;
    const CRichChild* item = m_document.Selected();
    if (!m_dragging || !item)
        return;
    const double scale = m_geometry.zoom() * 0.1;
    const QPoint delta(
        static_cast<int>(std::lround((pos.x() - m_pressPoint.x()) * m_geometry.unitsPerPixelX() / scale)),
        static_cast<int>(std::lround((pos.y() - m_pressPoint.y()) * m_geometry.unitsPerPixelY() / scale)));
    m_dragMils = DragRect(m_startMils, m_dragMode, delta, RulesFor(*item));
    const QRect frame = m_geometry.PageToDevice(m_dragMils, true, true).toQRect();
    if (frame == m_feedback)
        return;
    const QRegion changed = FeedbackRegion(m_feedback) + FeedbackRegion(frame);
    m_feedback = frame;
    viewport()->update(changed);
}

void CMervo6View::Release(QPoint pos)
{
    m_captured = false;
    if (m_dragging) {
        m_dragging = false;
        viewport()->update(FeedbackRegion(m_feedback));
        m_feedback = QRect();
        const CRichChild* item = m_document.Selected();
        // The snapped and limited rectangle in mils is what the item takes: pixels only showed the frame.
        if (item && pos != m_pressPoint && !m_geometry.GetItemWindowRect(*item, true).isEmpty()) {
            GeometryChange change;
            if (m_dragMils.left != m_startMils.left)
                change.left = m_dragMils.left;
            if (m_dragMils.top != m_startMils.top)
                change.top = m_dragMils.top;
            if (m_dragMils.width() != m_startMils.width())
                change.width = m_dragMils.width();
            if (m_dragMils.height() != m_startMils.height())
                change.height = m_dragMils.height();
            SetItemGeometry(m_document, item->name, change);
        }
    }
    if (m_dragMode != DragMode::Select) {
        SetSelectionMarksOn(true);
        viewport()->update();
    }
}

void CMervo6View::MoveSelectedBy(int dx, int dy)
{
    const CRichChild* item = m_document.Selected();
    if (!item || IsStructural(item->kind))
        return;
    DragRules rules = RulesFor(*item);
    rules.snap = false;
    const EdgeRect start = ItemMils(*item);
    const EdgeRect moved = DragRect(start, DragMode::Move, QPoint(dx, dy), rules);
    GeometryChange change;
    if (moved.left != start.left)
        change.left = moved.left;
    if (moved.top != start.top)
        change.top = moved.top;
    SetItemGeometry(m_document, item->name, change);
}

void CMervo6View::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && m_captured && m_dragMode == DragMode::Select && !m_dragging)
        m_editor.SelectTo(pos);
    else if ((event->buttons() & Qt::LeftButton) && m_captured)
        Drag(pos);
    else if (!m_menuOpen)
        CursorFeedback(pos);
}

void CMervo6View::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        Press(pos, true);
        if (m_dragMode == DragMode::Select && !m_dragging)
            m_editor.PlaceCaret(pos);
    } else if (event->button() == Qt::RightButton && !(event->buttons() & Qt::LeftButton)) {
        // Selects what lies under the pointer without starting a drag; the context menu follows.
        Press(pos, false);
    }
}

void CMervo6View::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_captured)
        Release(event->position().toPoint());
}

void CMervo6View::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_rehit = true;
    Press(event->position().toPoint(), true);
}

void CMervo6View::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint pos = event->pos();
    QPoint global = event->globalPos();
    if (event->reason() != QContextMenuEvent::Mouse) {
        // From the keyboard the menu opens over the selected item.
        const CRichChild* selected = m_document.Selected();
        pos = selected ? m_geometry.GetItemWindowRect(*selected, true).toQRect().center()
                       : viewport()->rect().center();
        pos.setX(std::clamp(pos.x(), 0, viewport()->width() - 1));
        pos.setY(std::clamp(pos.y(), 0, viewport()->height() - 1));
        global = viewport()->mapToGlobal(pos);
    }
    m_menuOpen = true;
    m_contextPoint = pos;
    QMenu menu(this);
    QMenu* insert = menu.addMenu(QStringLiteral("&Insert"));
    if (m_insertFiller)
        m_insertFiller(*insert, m_geometry.WindowToPage(pos));
    insert->setEnabled(!insert->isEmpty());
    for (QAction* action : std::as_const(m_contextActions)) {
        if (action)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
    menu.exec(global);
    m_menuOpen = false;
    QTimer::singleShot(kContextPointLife, this, [this] { m_contextPoint = QPoint(-1, -1); });
}

void CMervo6View::keyPressEvent(QKeyEvent* event)
{
    // While a text is edited in place the editing keys are its own.
    if (!m_dragging && m_editor.HandleKey(*event)) {
        event->accept();
        return;
    }
    const CRichChild* selected = m_document.Selected();
    if (!selected || IsStructural(selected->kind) || m_dragging) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const bool fine = event->modifiers() & Qt::ShiftModifier;
    const int stepX = fine ? kFineStep : m_scene.gridStep.width();
    const int stepY = fine ? kFineStep : m_scene.gridStep.height();
    switch (event->key()) {
    case Qt::Key_Left:
        MoveSelectedBy(-stepX, 0);
        break;
    case Qt::Key_Right:
        MoveSelectedBy(stepX, 0);
        break;
    case Qt::Key_Up:
        MoveSelectedBy(0, -stepY);
        break;
    case Qt::Key_Down:
        MoveSelectedBy(0, stepY);
        break;
    case Qt::Key_Delete:
        m_document.DeleteItem(selected->name);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace tvl
