#pragma once

#include <QDialog>
#include <QSize>

class QLineEdit;

namespace tvl {

// Layout, Grid Size: the horizontal and vertical grid spacing in the current units.
class GridSizeDialog final : public QDialog
{
public:
    GridSizeDialog(QSize gridSize, bool millimeters, QWidget* parent = nullptr);

    QLineEdit* HorizontalField() const { return horizontal; }
    QLineEdit* VerticalField() const { return vertical; }

    // The spacing after the dialog; a field left as it was keeps its value exactly.
    QSize GridSize() const;
    bool Changed() const;

private:
    QSize initial;
    bool millimeters;
    QString initialHorizontal;
    QString initialVertical;
    QLineEdit* horizontal;
    QLineEdit* vertical;
};

} // namespace tvl
