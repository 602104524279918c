#include "widgets/DropDownButton.h"

#include <QMenu>

namespace tvl {

DropDownButton::DropDownButton(QAction* action, QMenu* menu, QWidget* parent)
    : QToolButton(parent)
{
    setDefaultAction(action);
    setMenu(menu);
    setPopupMode(QToolButton::InstantPopup);
}

} // namespace tvl
