#pragma once

#include <QString>

class QWidget;

namespace tvl {

// The file types the Insert Image dialog offers, in Qt's filter form: all picture files first, then each
// kind, then every file.
QString InsertImageFilter();

// The folder the Insert Image dialog opens in: the one a picture was last inserted from, else the user's
// pictures folder.
QString InsertImageStartFolder(const QString& lastFolder);

// Asks for a picture file in a dialog titled "Insert Image"; empty when the user cancels.
QString ChooseInsertImage(QWidget* parent, const QString& startFolder);

} // namespace tvl
