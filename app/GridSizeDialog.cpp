#include "app/GridSizeDialog.h"

#include "app/GridSpacing.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace tvl {

GridSizeDialog::GridSizeDialog(QSize gridSize, bool millimeters, QWidget* parent)
    : QDialog(parent)
    , initial(gridSize)
    , millimeters(millimeters)
    , initialHorizontal(GridFieldText(gridSize.width(), millimeters))
    , initialVertical(GridFieldText(gridSize.height(), millimeters))
    , horizontal(new QLineEdit(initialHorizontal, this))
    , vertical(new QLineEdit(initialVertical, this))
{
    setWindowTitle(QStringLiteral(" Grid Size"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Horizontal:"), horizontal);
    form->addRow(QStringLiteral("Vertical:"), vertical);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QSize GridSizeDialog::GridSize() const
{
    // Comparing texts, not values, keeps an untouched millimetre field from drifting by rounding.
    const auto read = [this](const QLineEdit* field, const QString& start, int current) {
        if (field->text() == start)
            return current;
        return GridFieldValue(field->text(), millimeters).value_or(current);
    };
    return {read(horizontal, initialHorizontal, initial.width()),
            read(vertical, initialVertical, initial.height())};
}

bool GridSizeDialog::Changed() const
{
    return GridSize() != initial;
}

} // namespace tvl
