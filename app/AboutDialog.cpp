#include "app/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace tvl {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral(" About Tovrelline"));
    auto* picture = new QLabel(this);
    picture->setPixmap(
        QIcon(QStringLiteral(":/icons/tovrelline.svg")).pixmap(QSize(64, 64), devicePixelRatioF()));
    auto* name = new QLabel(QStringLiteral("<b>Tovrelline</b>"), this);
    auto* version = new QLabel(QStringLiteral("Version 4.00 (Build 6)"), this);
    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

} // namespace tvl
