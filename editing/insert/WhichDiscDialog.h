#pragma once

#include <QDialog>

class QRadioButton;

namespace tvl {

// " Double CD mode": asks which disc of a two-disc design an album field belongs to. The radio button on
// at the start is the disc given; ChosenDisc is the one on now (1 or 2), whichever way the dialog closed,
// so the caller can remember a click even when the user cancels.
class WhichDiscDialog final : public QDialog
{
public:
    WhichDiscDialog(const QString& text, int initialDisc, QWidget* parent = nullptr);

    int ChosenDisc() const;

private:
    QRadioButton* m_disc1 = nullptr;
    QRadioButton* m_disc2 = nullptr;
};

// Shows the dialog with the last disc chosen on; lastDisc takes every click. 1 or 2 on OK, -1 on Cancel.
int AskWhichDisc(QWidget* parent, const QString& text, int& lastDisc);

} // namespace tvl
