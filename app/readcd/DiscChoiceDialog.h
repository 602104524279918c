#pragma once

#include <QDialog>

class QRadioButton;

namespace tvl {

// " Double CD mode": which disc of a double design read album data goes to. The radio of importDisc
// starts checked, and a click stores its disc there at once.
class DiscChoiceDialog final : public QDialog
{
public:
    DiscChoiceDialog(const QString& question, int& importDisc, QWidget* parent = nullptr);

    // 1 or 2 by the checked radio.
    int Choice() const;
    QRadioButton* DiscButton(int disc) const { return disc == 2 ? disc2 : disc1; }

private:
    QRadioButton* disc1 = nullptr;
    QRadioButton* disc2 = nullptr;
};

// Runs the dialog: 1 or 2 on OK, -1 on Cancel or closing.
int AskDiscChoice(const QString& question, int& importDisc, QWidget* parent);

} // namespace tvl
