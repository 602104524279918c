#include "editing/DragGeometry.h"

#include <algorithm>
#include <cmath>

namespace tvl {
namespace {

constexpr int kFreeAxisStart = 12000;
constexpr int kMostStretched = 500;

bool MovesLeft(DragMode m)
{
    return m == DragMode::Left || m == DragMode::BottomLeft || m == DragMode::TopLeft;
}

bool MovesRight(DragMode m)
{
    return m == DragMode::Right || m == DragMode::BottomRight || m == DragMode::TopRight;
}

bool MovesTop(DragMode m)
{
    return m == DragMode::Top || m == DragMode::TopLeft || m == DragMode::TopRight;
}

bool MovesBottom(DragMode m)
{
    return m == DragMode::Bottom || m == DragMode::BottomLeft || m == DragMode::BottomRight;
}

// Shifts r back inside bounds: left, then right, then top, then bottom.
void ShiftInside(EdgeRect& r, const EdgeRect& bounds)
{
    if (r.left < bounds.left)
        r.translate(bounds.left - r.left, 0);
    if (r.right > bounds.right)
        r.translate(bounds.right - r.right, 0);
    if (r.top < bounds.top)
        r.translate(0, bounds.top - r.top);
    if (r.bottom > bounds.bottom)
        r.translate(0, bounds.bottom - r.bottom);
}

// Gives one axis of a resized rectangle its new length: the dragged edge moves, the other stays; an axis
// no handle drags keeps its start edge, or its centre when the picture's aspect is locked.
void SizeSpan(int& low, int& high, int startLow, int startHigh, int length, bool movesLow, bool movesHigh,
              bool locked)
{
    if (movesLow) {
        low = startHigh - length;
    } else if (movesHigh) {
        high = startLow + length;
    } else {
        if (locked)
            low = static_cast<int>(startLow + (static_cast<long long>(startHigh) - startLow - length) / 2);
        high = low + length;
    }
}

} // namespace

QString DragModeName(DragMode mode)
{
    switch (mode) {
    case DragMode::None:
        return {};
    case DragMode::Select:
        return QStringLiteral("Select");
    case DragMode::Move:
        return QStringLiteral("Move");
    case DragMode::Top:
        return QStringLiteral("Top");
    case DragMode::Bottom:
        return QStringLiteral("Bottom");
    case DragMode::Left:
        return QStringLiteral("Left");
    case DragMode::Right:
        return QStringLiteral("Right");
    case DragMode::TopLeft:
        return QStringLiteral("TopLeft");
    case DragMode::BottomRight:
        return QStringLiteral("BottomRight");
    case DragMode::BottomLeft:
        return QStringLiteral("BottomLeft");
    case DragMode::TopRight:
        return QStringLiteral("TopRight");
    }
    return {};
}

bool IsHandle(DragMode mode)
{
    return mode != DragMode::None && mode != DragMode::Select && mode != DragMode::Move;
}

int SnapToGrid(int value, int step)
{
    if (step <= 0)
        return value;
    const long long g = step;
    long long snapped =
        g * static_cast<long long>(std::floor(static_cast<double>(value) / static_cast<double>(g)));
    if (2 * (value - snapped) > g)
        snapped += g;
    return static_cast<int>(std::clamp<long long>(snapped, INT_MIN, INT_MAX));
}

bool FitToPicture(QSize picture, double& w, double& h)
{
    const int pw = picture.width();
    const int ph = picture.height();
    if (pw <= 0 || ph <= 0 || pw / ph > kMostStretched || ph / pw > kMostStretched)
        return false;
    const double pictureRatio = static_cast<double>(pw) / ph;
    if (h > 0 && pictureRatio > w / h)
        h = ph * w / pw;
    else if (h > 0 && pictureRatio < w / h)
        w = pw * h / ph;
    w = std::trunc(w);
    h = std::trunc(h);
    return true;
}

EdgeRect DragRect(const EdgeRect& start, DragMode mode, QPoint delta, const DragRules& rules)
{
    if (mode == DragMode::None || mode == DragMode::Select)
        return start;
    EdgeRect r = start;
    if (mode == DragMode::Move) {
        r.translate(delta.x(), delta.y());
        if (rules.snap) {
            r.translate(SnapToGrid(r.left, rules.grid.width()) - r.left,
                        SnapToGrid(r.top, rules.grid.height()) - r.top);
        }
        if (!rules.image && !rules.bounds.isEmpty())
            ShiftInside(r, rules.bounds);
    } else {
        if (MovesLeft(mode))
            r.left += delta.x();
        if (MovesRight(mode))
            r.right += delta.x();
        if (MovesTop(mode))
            r.top += delta.y();
        if (MovesBottom(mode))
            r.bottom += delta.y();
        if (rules.snap) {
            if (MovesLeft(mode))
                r.left = SnapToGrid(r.left, rules.grid.width());
            if (MovesRight(mode))
                r.right = SnapToGrid(r.right, rules.grid.width());
            if (MovesTop(mode))
                r.top = SnapToGrid(r.top, rules.grid.height());
            if (MovesBottom(mode))
                r.bottom = SnapToGrid(r.bottom, rules.grid.height());
        }
        // The edges are taken as they lie, so an edge pulled past the opposite one gives the minimum size.
        int w = std::max(r.right - r.left, rules.minimum);
        int h = std::max(r.bottom - r.top, rules.minimum);
        const bool locked = rules.image && !rules.lockedPicture.isEmpty();
        const bool sideways = mode == DragMode::Left || mode == DragMode::Right;
        const bool upDown = mode == DragMode::Top || mode == DragMode::Bottom;
        if (locked) {
            double fw = sideways || !upDown ? w : std::max(kFreeAxisStart, rules.minimum);
            double fh = upDown || !sideways ? h : std::max(kFreeAxisStart, rules.minimum);
            if (FitToPicture(rules.lockedPicture, fw, fh)) {
                w = static_cast<int>(fw);
                h = static_cast<int>(fh);
            }
        }
        SizeSpan(r.left, r.right, start.left, start.right, w, MovesLeft(mode), MovesRight(mode), locked);
        SizeSpan(r.top, r.bottom, start.top, start.bottom, h, MovesTop(mode), MovesBottom(mode), locked);
    }
    if (!rules.image && !rules.bounds.isEmpty()) {
        r.left = std::max(r.left, rules.bounds.left);
        r.top = std::max(r.top, rules.bounds.top);
        r.right = std::min(r.right, rules.bounds.right);
        r.bottom = std::min(r.bottom, rules.bounds.bottom);
    }
    return r;
}

} // namespace tvl
