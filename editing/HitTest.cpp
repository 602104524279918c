#include "editing/HitTest.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "render/surface/ViewGeometry.h"

#include <algorithm>
#include <vector>

namespace tvl {
namespace {

constexpr int kFrontEdgeSlack = 50;

struct Candidate
{
    double area;
    int index;
    const CRichChild* item;
};

bool InEllipse(QPoint p, const EdgeRect& box)
{
    if (box.isEmpty())
        return false;
    const double rx = box.width() / 2.0;
    const double ry = box.height() / 2.0;
    const double dx = (p.x() + 0.5 - box.left - rx) / rx;
    const double dy = (p.y() + 0.5 - box.top - ry) / ry;
    return dx * dx + dy * dy <= 1.0;
}

// The front cover of an unfolded design lies alone on its sheet: its inside panel and anything that barely
// reaches onto the cover from its left are not picked.
bool Hidden(const CRichChild& item, const CRichChild* front)
{
    if (!front || front->coverFolded != 0 || item.surface != kFrontCover)
        return false;
    if (item.name == kFrontInside)
        return true;
    return item.kind != ItemKind::Cover && item.left() + item.width() < front->left() + kFrontEdgeSlack;
}

void DropFirstAfter(QStringList& stack, QStringView name, const QStringList& before)
{
    const qsizetype at = stack.indexOf(name);
    if (at < 0)
        return;
    for (qsizetype i = 0; i < at; ++i) {
        if (before.contains(stack[i])) {
            stack.removeAt(at);
            return;
        }
    }
}

} // namespace

QStringList HitStack(const LabelDesign& design, const ViewGeometry& geometry, QPoint window,
                     bool directToDiscSheet)
{
    const QString& page = geometry.currentPageCode();
    QStringList stack;
    const QPoint mils = geometry.WindowToPage(window);
    const EdgeRect& sheet = geometry.pageRect();
    const bool onSheet =
        mils.x() >= sheet.left && mils.x() < sheet.right && mils.y() >= sheet.top && mils.y() < sheet.bottom;
    if (onSheet) {
        const CRichChild* front = design.FindCover(kFrontCover);
        std::vector<Candidate> found;
        for (size_t i = 0; i < design.itemList.size(); ++i) {
            const CRichChild& item = *design.itemList[i];
            if (item.pageCode != page || Hidden(item, front))
                continue;
            if (item.IsDiscSurface()) {
                if (!InEllipse(window, geometry.GetItemWindowRect(item, true)) ||
                    InEllipse(window, geometry.GetItemWindowRect(item, false)))
                    continue;
                const double radius = item.width() / 2;
                found.push_back({radius * radius * 3.14159, static_cast<int>(i), &item});
                continue;
            }
            if (mils.x() < item.left() || mils.y() < item.top() ||
                mils.x() >= static_cast<long long>(item.left()) + item.width() ||
                mils.y() >= static_cast<long long>(item.top()) + item.height())
                continue;
            found.push_back({static_cast<double>(item.width()) * item.height(), static_cast<int>(i), &item});
        }
        // Smallest first; of equal areas the later item in the list.
        std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
            return a.area != b.area ? a.area < b.area : a.index > b.index;
        });
        for (const Candidate& c : found)
            stack.append(c.item->name);
    }
    if (stack.isEmpty()) {
        stack.append(QStringLiteral("Page ") + page);
        return stack;
    }

    for (qsizetype i = 1; i < stack.size(); ++i) {
        if (stack[i] == u"Page 1" || stack[i] == u"Page 2" || stack[i] == u"Page 3") {
            stack.removeAt(i);
            break;
        }
    }
    DropFirstAfter(stack, kFrontCover, {kFrontInside.toString()});
    DropFirstAfter(stack, kBackCover, {kLeftTab.toString(), kRightTab.toString()});
    const QString& current = geometry.currentSurface();
    if (directToDiscSheet && IsDiscSurfaceName(current)) {
        const QStringView other = current == kDisc1 ? kDisc2 : kDisc1;
        stack.removeIf([&](const QString& name) {
            const CRichChild* item = design.FindItem(name);
            return item && item->surface == other;
        });
    }
    return stack;
}

QString HitCycler::Hit(const LabelDesign& design, const ViewGeometry& geometry, QPoint window,
                       const QString& selected, bool directToDiscSheet)
{
    m_previous = m_stack;
    m_stack = HitStack(design, geometry, window, directToDiscSheet);
    if (m_stack.isEmpty())
        return {};
    if (m_stack == m_previous) {
        const qsizetype at = m_stack.indexOf(selected);
        if (at >= 0)
            return m_stack[(at + 1) % m_stack.size()];
    }
    return m_stack.first();
}

} // namespace tvl
