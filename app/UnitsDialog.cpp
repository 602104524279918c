#include "app/UnitsDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace tvl {

UnitsDialog::UnitsDialog(const QString& units, QWidget* parent)
    : QDialog(parent)
    , list(new QListWidget(this))
{
    setWindowTitle(QStringLiteral(" Units"));
    list->setAccessibleName(QStringLiteral("Units"));
    list->addItems({QStringLiteral("Inches"), QStringLiteral("Millimeters")});
    list->setCurrentRow(units == u"Millimeters" ? 1 : 0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

QString UnitsDialog::Units() const
{
    return list->currentItem() ? list->currentItem()->text() : QStringLiteral("Inches");
}

} // namespace tvl
