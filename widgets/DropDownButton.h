#pragma once

#include <QToolButton>

class QMenu;

namespace tvl {

// A tool-bar button that opens its menu at once, showing the icon and text of the action it stands for.
class DropDownButton final : public QToolButton
{
public:
    DropDownButton(QAction* action, QMenu* menu, QWidget* parent = nullptr);
};

} // namespace tvl
