#include "editing/insert/InsertImageFile.h"

#include <QFileDialog>
#include <QStandardPaths>
#include <QStringList>

namespace tvl {

QString InsertImageFilter()
{
    return QStringList{
        QStringLiteral(
            "All Image Files (*.jpg *.jpeg *.bmp *.dib *.gif *.tif *.tiff *.png *.ico *.wmf *.emf)"),
        QStringLiteral("JPEG Files (*.jpg *.jpeg)"),
        QStringLiteral("Bitmap Files (*.bmp *.dib)"),
        QStringLiteral("GIF Files (*.gif)"),
        QStringLiteral("TIFF Files (*.tif *.tiff)"),
        QStringLiteral("PNG Files (*.png)"),
        QStringLiteral("Icon Files (*.ico)"),
        QStringLiteral("MetaFiles (*.wmf *.emf)"),
        QStringLiteral("All Files (*)"),
    }
        .join(QStringLiteral(";;"));
}

QString InsertImageStartFolder(const QString& lastFolder)
{
    if (!lastFolder.isEmpty())
        return lastFolder;
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
}

QString ChooseInsertImage(QWidget* parent, const QString& startFolder)
{
    QFileDialog dialog(parent, QStringLiteral("Insert Image"), startFolder, InsertImageFilter());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace tvl
