#include "app/readcd/DiscChoiceDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tvl {

DiscChoiceDialog::DiscChoiceDialog(const QString& question, int& importDisc, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral(" Double CD mode"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto* text = new QLabel(question, this);
    text->setWordWrap(true);
    disc1 = new QRadioButton(QStringLiteral("Disc 1"), this);
    disc2 = new QRadioButton(QStringLiteral("Disc 2"), this);
    (importDisc == 2 ? disc2 : disc1)->setChecked(true);
    connect(disc1, &QRadioButton::clicked, this, [&importDisc] { importDisc = 1; });
    connect(disc2, &QRadioButton::clicked, this, [&importDisc] { importDisc = 2; });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(disc1);
    layout->addWidget(disc2);
    layout->addWidget(buttons);
}

int DiscChoiceDialog::Choice() const
{
    return disc2->isChecked() ? 2 : 1;
}

int AskDiscChoice(const QString& question, int& importDisc, QWidget* parent)
{
    DiscChoiceDialog dialog(question, importDisc, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Choice() : -1;
}

} // namespace tvl
