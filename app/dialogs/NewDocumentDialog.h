#pragma once

#include <QDialog>

class QCheckBox;
class QListWidget;

namespace tvl {

// Chooses the kind of a new design: jewel or DVD case, one or two discs, and whether to start from the
// default design of that kind.
class NewDocumentDialog final : public QDialog
{
public:
    explicit NewDocumentDialog(QWidget* parent = nullptr);

    // (entry + 1) × 10, plus 1 when "Use Default Template." is ticked: 11 … 41 or 10 … 40.
    int ResultCode() const;

    // Shows the dialog; the result code, or -1 when cancelled.
    static int Ask(QWidget* parent);

private:
    QListWidget* m_list;
    QCheckBox* m_useDefault;
};

} // namespace tvl
