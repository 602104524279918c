#include "editing/insert/WhichDiscDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tvl {

WhichDiscDialog::WhichDiscDialog(const QString& text, int initialDisc, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral(" Double CD mode"));
    auto* icon = new QLabel(this);
    const int extent = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(extent));
    auto* message = new QLabel(text, this);
    message->setWordWrap(true);
    m_disc1 = new QRadioButton(QStringLiteral("Disc &1"), this);
    m_disc2 = new QRadioButton(QStringLiteral("Disc &2"), this);
    (initialDisc == 2 ? m_disc2 : m_disc1)->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* choices = new QVBoxLayout;
    choices->addWidget(message);
    choices->addWidget(m_disc1);
    choices->addWidget(m_disc2);
    top->addLayout(choices, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

int WhichDiscDialog::ChosenDisc() const
{
    return m_disc2->isChecked() ? 2 : 1;
}

int AskWhichDisc(QWidget* parent, const QString& text, int& lastDisc)
{
    WhichDiscDialog dialog(text, lastDisc, parent);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    lastDisc = dialog.ChosenDisc();
    return accepted ? lastDisc : -1;
}

} // namespace tvl
