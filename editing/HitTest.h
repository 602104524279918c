#pragma once

#include <QPoint>
#include <QStringList>

namespace tvl {

class LabelDesign;
class ViewGeometry;

// Names of the items of the shown sheet under a window point, smallest first: a disc is hit on its ring
// (not its hub hole), every other item inside its rectangle. A point on no item, or off the sheet, gives the
// sheet's page item alone. Entries that only hide a smaller area are dropped (a page below other items, a
// cover below its inside panel or tabs, and on a direct-to-disc sheet the other disc's items).
QStringList HitStack(const LabelDesign& design, const ViewGeometry& geometry, QPoint window,
                     bool directToDiscSheet);

// Clicking repeatedly at one spot cycles through the items stacked there, from the smallest to the largest:
// a click that finds the same stack as the one before gives the entry after the selected item.
class HitCycler
{
public:
    // The item a click at window selects; empty when the design has no page item for the sheet.
    QString Hit(const LabelDesign& design, const ViewGeometry& geometry, QPoint window,
                const QString& selected, bool directToDiscSheet);
    const QStringList& stack() const { return m_stack; }
    void Forget()
    {
        m_stack.clear();
        m_previous.clear();
    }

private:
    QStringList m_stack;
    QStringList m_previous;
};

} // namespace tvl
