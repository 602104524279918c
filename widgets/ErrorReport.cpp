#include "widgets/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace tvl {
namespace {

ErrorPresenter& Presenter()
{
    static ErrorPresenter presenter;
    return presenter;
}

void Present(const QString& text)
{
    if (Presenter()) {
        Presenter()(text);
        return;
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tovrelline"), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
        return;
    }
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
}

} // namespace

QString ErrorNumberText(int number)
{
    return QStringLiteral("Error ") + QString::number(number);
}

QString ErrorStepText(int number, int step)
{
    return ErrorNumberText(number) + QStringLiteral(" - Step: ") + QString::number(step);
}

QString ErrorPlainStepText(int number, int step)
{
    return ErrorNumberText(number) + QStringLiteral(" - Step ") + QString::number(step);
}

void ReportError(int number)
{
    Present(ErrorNumberText(number));
}

void ReportErrorStep(int number, int step)
{
    Present(ErrorStepText(number, step));
}

void ReportErrorPlainStep(int number, int step)
{
    Present(ErrorPlainStepText(number, step));
}

ErrorPresenter SetErrorPresenter(ErrorPresenter presenter)
{
    return std::exchange(Presenter(), std::move(presenter));
}

} // namespace tvl
