#include "app/dialogs/NewDocumentDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace tvl {
namespace {

constexpr int kIconSize = 48;

void DrawDisc(QPainter& painter, const QRectF& box)
{
    painter.setPen(QPen(QColor(0x50, 0x50, 0x58), 1.2));
    painter.setBrush(QColor(0xD8, 0xE4, 0xF0));
    painter.drawEllipse(box);
    painter.setBrush(Qt::white);
    const double hub = box.width() * 0.3;
    painter.drawEllipse(QRectF(box.center().x() - hub / 2, box.center().y() - hub / 2, hub, hub));
}

// A case outline with one or two discs in front of it: square for jewel cases, tall for DVD cases.
QIcon CaseIcon(bool dvd, bool twoDiscs)
{
    QPixmap pixmap(kIconSize * 2, kIconSize * 2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(2, 2);
    const QRectF caseBox = dvd ? QRectF(8, 2, 30, 44) : QRectF(4, 8, 36, 32);
    painter.setPen(QPen(QColor(0x30, 0x30, 0x38), 1.5));
    painter.setBrush(QColor(0xF4, 0xF4, 0xF6));
    painter.drawRoundedRect(caseBox, 2, 2);
    painter.setPen(QPen(QColor(0x30, 0x30, 0x38), 1));
    painter.drawLine(QPointF(caseBox.left() + 4, caseBox.top()),
                     QPointF(caseBox.left() + 4, caseBox.bottom()));
    const double disc = 24;
    if (twoDiscs)
        DrawDisc(painter, QRectF(kIconSize - disc - 10, kIconSize - disc - 8, disc, disc));
    DrawDisc(painter, QRectF(kIconSize - disc - 2, kIconSize - disc - 2, disc, disc));
    painter.end();
    pixmap.setDevicePixelRatio(2);
    return QIcon(pixmap);
}

} // namespace

NewDocumentDialog::NewDocumentDialog(QWidget* parent)
    : QDialog(parent)
    , m_list(new QListWidget(this))
    , m_useDefault(new QCheckBox(QStringLiteral("Use Default Template."), this))
{
    setWindowTitle(QStringLiteral(" New Document"));
    m_list->setAccessibleName(QStringLiteral("Case"));
    m_list->setIconSize(QSize(kIconSize, kIconSize));
    m_list->setSpacing(2);
    const struct
    {
        const char* text;
        bool dvd;
        bool twoDiscs;
    } entries[] = {
        {"  CD Jewel Case  (Single Disc)", false, false},
        {"  CD Jewel Case  (Double Disc)", false, true},
        {"  DVD Case  (Single Disc)", true, false},
        {"  DVD Case  (Double Disc)", true, true},
    };
    for (const auto& entry : entries)
        new QListWidgetItem(CaseIcon(entry.dvd, entry.twoDiscs), QString::fromLatin1(entry.text), m_list);
    m_list->setCurrentRow(0);
    m_list->setMinimumWidth(300);
    m_list->setMinimumHeight(4 * (m_list->sizeHintForRow(0) + 2 * m_list->spacing()) +
                             2 * m_list->frameWidth());
    m_useDefault->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_useDefault);
    layout->addWidget(buttons);
}

int NewDocumentDialog::ResultCode() const
{
    return (std::max(0, m_list->currentRow()) + 1) * 10 + (m_useDefault->isChecked() ? 1 : 0);
}

int NewDocumentDialog::Ask(QWidget* parent)
{
    NewDocumentDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted ? dialog.ResultCode() : -1;
}

} // namespace tvl
