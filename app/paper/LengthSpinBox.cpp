#include "app/paper/LengthSpinBox.h"

#include <QLineEdit>

namespace tvl {

LengthSpinBox::LengthSpinBox(QWidget* parent)
    : QAbstractSpinBox(parent)
{
    setKeyboardTracking(false);
    connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
        if (m_typed && lineEdit()->isModified()) {
            lineEdit()->setModified(false);
            m_typed(text());
        }
    });
}

void LengthSpinBox::SetHandlers(std::function<void(const QString&)> typed, std::function<void(int)> stepped)
{
    m_typed = std::move(typed);
    m_stepped = std::move(stepped);
}

void LengthSpinBox::stepBy(int steps)
{
    if (!m_stepped)
        return;
    const int direction = steps > 0 ? 1 : -1;
    for (int i = 0; i < std::abs(steps); ++i)
        m_stepped(direction);
}

} // namespace tvl
