#pragma once

#include <QAbstractSpinBox>
#include <functional>

namespace tvl {

// An edit field for a length with up-down arrows; the text and its rules belong to whoever sets the
// handlers: typed text is handed over when editing finishes, each arrow click or key as a step of 1 or -1.
class LengthSpinBox final : public QAbstractSpinBox
{
public:
    explicit LengthSpinBox(QWidget* parent = nullptr);

    void SetHandlers(std::function<void(const QString&)> typed, std::function<void(int)> stepped);
    void stepBy(int steps) override;
    QLineEdit* Editor() const { return lineEdit(); }

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

private:
    std::function<void(const QString&)> m_typed;
    std::function<void(int)> m_stepped;
};

} // namespace tvl
