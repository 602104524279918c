#pragma once

#include <QDialog>

class QListWidget;

namespace tvl {

// Layout, Units: "Inches" or "Millimeters" for every length shown.
class UnitsDialog final : public QDialog
{
public:
    UnitsDialog(const QString& units, QWidget* parent = nullptr);

    QListWidget* List() const { return list; }
    QString Units() const;

private:
    QListWidget* list;
};

} // namespace tvl
