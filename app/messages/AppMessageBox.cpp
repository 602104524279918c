#include "app/messages/AppMessageBox.h"

#include "app/messages/ErrorReport.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace tvl {
namespace {

QStringList ButtonLabels(const QString& list)
{
    QStringList labels = list.split(u'`');
    // Only backquote-ended labels count: the text after the last backquote is no label.
    labels.removeLast();
    if (labels.size() > 3)
        labels.resize(3);
    return labels;
}

QIcon IconOfKind(int kind, const QStyle* style)
{
    switch (kind) {
    case 1:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case 2:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case 3:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case 4:
        return QApplication::windowIcon();
    default:
        return {};
    }
}

} // namespace

AppMessageBox::AppMessageBox(MessageRequest& request, QWidget* parent)
    : QDialog(parent)
    , request(request)
{
    setWindowIcon(QApplication::windowIcon());
    setWindowTitle(request.caption.isEmpty() ? QStringLiteral(" Tovrelline") : request.caption);

    const QStringList labels = ButtonLabels(request.buttons);
    MessageBoxMetrics metrics;
    const int iconExtent = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    metrics.icon = QSize(iconExtent, iconExtent);
    const QFontMetrics fm(font());
    const QStringList lines = request.text.split(QStringLiteral("\r\n"));
    for (const QString& line : lines)
        metrics.lineWidths.push_back(fm.horizontalAdvance(line));
    metrics.lineHeight = fm.lineSpacing();
    metrics.buttonCount = int(labels.size());
    metrics.button = QSize(75, 23);
    for (qsizetype i = 0; i < labels.size(); ++i) {
        auto* button = new QPushButton(labels[i], this);
        buttons[size_t(i)] = button;
        metrics.button = metrics.button.expandedTo(button->sizeHint());
        connect(button, &QPushButton::clicked, this, [this, i] { Press(int(i) + 1); });
    }
    if (buttons[0])
        buttons[0]->setDefault(true);
    metrics.showCheckBox = request.showCheckBox;
    if (request.showCheckBox) {
        checkBox = new QCheckBox(QStringLiteral("Do not show this message again."), this);
        metrics.checkBox = checkBox->sizeHint();
    }

    geometry = LayOutMessageBox(metrics);

    auto* iconLabel = new QLabel(this);
    iconLabel->setGeometry(geometry.icon);
    if (const QIcon icon = IconOfKind(request.iconKind, style()); !icon.isNull())
        iconLabel->setPixmap(icon.pixmap(metrics.icon, devicePixelRatioF()));
    textLabel = new QLabel(this);
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setText(lines.join(u'\n'));
    textLabel->setGeometry(geometry.text);
    if (checkBox)
        checkBox->setGeometry(geometry.checkBox);
    for (size_t i = 0; i < geometry.buttons.size(); ++i)
        buttons[i]->setGeometry(geometry.buttons[i]);
    setFixedSize(geometry.client);

    request.caption.clear();
}

QPushButton* AppMessageBox::Button(int number) const
{
    return number >= 1 && number <= 3 ? buttons[size_t(number - 1)] : nullptr;
}

void AppMessageBox::Press(int number)
{
    Guarded(304 + number, [&] {
        const bool shown = request.showCheckBox;
        request.showCheckBox = false;
        request.closedResult = messageBoxClosedResult;
        done(MessageBoxResult(number, shown, checkBox && checkBox->isChecked()));
    });
}

void AppMessageBox::reject()
{
    Guarded(308, [&] {
        request.showCheckBox = false;
        const int result = request.closedResult;
        request.closedResult = messageBoxClosedResult;
        done(result);
    });
}

int ShowAppMessageBox(MessageRequest& request, QWidget* parent)
{
    return Guarded(304, request.closedResult, [&] {
        AppMessageBox box(request, parent);
        return box.exec();
    });
}

void ShowStopMessage(MessageRequest& request, const QString& text, QWidget* parent)
{
    request.text = text;
    request.iconKind = 1;
    request.buttons = QStringLiteral("OK`");
    request.showCheckBox = false;
    ShowAppMessageBox(request, parent);
}

} // namespace tvl
