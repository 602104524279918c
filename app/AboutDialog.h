#pragma once

#include <QDialog>

namespace tvl {

// Help, About: the product picture, name and version.
class AboutDialog final : public QDialog
{
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace tvl
